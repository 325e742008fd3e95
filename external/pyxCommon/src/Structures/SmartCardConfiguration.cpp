#include "Structures/SmartCardConfiguration.h"

#include <algorithm>

#include "Exceptions/TessmarException.h"

namespace PyxCommon
{
namespace
{
// The blob types a smart-card reader accepts.
constexpr std::array<std::uint8_t, 19> kBlobTypes = {1,  2,  4,  5,  6,  7,  8,  9,  10, 11,
                                                     14, 15, 18, 20, 21, 22, 23, 26, 27};

bool IsKnownBlobType(std::uint8_t type)
{
    return std::find(kBlobTypes.begin(), kBlobTypes.end(), type) != kBlobTypes.end();
}
} // namespace

void SmartCardConfiguration::SetConfiguration(const BlobHeader& header, const std::vector<std::uint8_t>& data)
{
    if (!IsKnownBlobType(header.BlobType))
    {
        PYX_THROW(TessmarException, "Invalid blob type for SmartCardConfiguration");
    }
    if (header.DataLength > kMaxDataLength)
    {
        PYX_THROW(TessmarException, "Data length exceeds maximum blob size");
    }
    // Checked before anything is stored: a refused blob never leaves a header that disagrees with the data.
    if (data.size() != header.DataLength)
    {
        PYX_THROW(TessmarException, "Blob data length does not match with datalength in header");
    }
    Header = header;
    std::copy(data.begin(), data.end(), Data.begin());
}

std::vector<std::uint8_t> SmartCardConfiguration::GetBlobData() const
{
    const std::size_t length = Header.DataLength;
    if (length > kMaxDataLength)
    {
        PYX_THROW(TessmarException, "Data length exceeds maximum blob size");
    }
    return std::vector<std::uint8_t>(Data.begin(), Data.begin() + static_cast<std::ptrdiff_t>(length));
}
} // namespace PyxCommon
