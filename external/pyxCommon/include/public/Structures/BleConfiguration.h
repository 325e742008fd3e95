#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "PyxExport.h"

namespace PyxCommon
{
// Which of a reader's BLE data sets a record holds.
enum class BleDataType : std::uint8_t
{
    Data = 1,
    Key = 2,
    UnencryptedKey = 3,
};

#pragma pack(push, 1)
// One BLE configuration data set of a reader: its type, its length and up to 384 bytes, zero past the length.
class PYX_API ReaderBleConfiguration
{
public:
    static constexpr std::size_t kMaxDataLength = 384;

    ReaderBleConfiguration& SetBleDataType(std::uint8_t type)
    {
        DataType = type;
        return *this;
    }
    // Refuses more than 384 bytes with TessmarException and then leaves the record unchanged.
    ReaderBleConfiguration& SetBleData(const std::vector<std::uint8_t>& data);

    BleDataType GetBleDataType() const { return static_cast<BleDataType>(DataType); }
    std::uint16_t GetBleDataLength() const { return DataLength; }
    // The first data-length bytes of the data area. A record copied in from outside may announce more than
    // the area holds; that is refused instead of read past the area.
    std::vector<std::uint8_t> GetBleData() const;

private:
    std::uint8_t DataType = 0;
    std::uint16_t DataLength = 0;
    std::array<std::uint8_t, kMaxDataLength> Data{};

    static void CheckLayout()
    {
        static_assert(offsetof(ReaderBleConfiguration, DataType) == 0);
        static_assert(offsetof(ReaderBleConfiguration, DataLength) == 1);
        static_assert(offsetof(ReaderBleConfiguration, Data) == 3);
    }
};
#pragma pack(pop)

static_assert(sizeof(ReaderBleConfiguration) == 387);
static_assert(std::is_standard_layout_v<ReaderBleConfiguration>);
static_assert(std::is_trivially_copyable_v<ReaderBleConfiguration>);
} // namespace PyxCommon
