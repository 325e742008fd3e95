#include "Structures/BleConfiguration.h"

#include <algorithm>

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"

namespace PyxCommon
{
namespace
{
[[noreturn]] void ThrowTooLarge(std::size_t size, const char* function)
{
    throw TessmarException(fmt::format("BLE data size ({}) exceeds maximum allowed size ({})", size,
                                       ReaderBleConfiguration::kMaxDataLength),
                           PYX_SOURCE_FILE, __LINE__, function);
}
} // namespace

ReaderBleConfiguration& ReaderBleConfiguration::SetBleData(const std::vector<std::uint8_t>& data)
{
    if (data.size() > kMaxDataLength)
    {
        ThrowTooLarge(data.size(), __func__);
    }
    DataLength = static_cast<std::uint16_t>(data.size());
    Data.fill(0);
    std::copy(data.begin(), data.end(), Data.begin());
    return *this;
}

std::vector<std::uint8_t> ReaderBleConfiguration::GetBleData() const
{
    const std::size_t length = DataLength;
    if (length > kMaxDataLength)
    {
        ThrowTooLarge(length, __func__);
    }
    return std::vector<std::uint8_t>(Data.begin(), Data.begin() + static_cast<std::ptrdiff_t>(length));
}
} // namespace PyxCommon
