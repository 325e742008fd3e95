#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "PyxExport.h"

namespace PyxCommon
{
#pragma pack(push, 1)
// Describes one smart-card configuration blob as the reader keeps it.
struct BlobHeader
{
    std::uint8_t BlobType = 0;
    std::uint8_t SecondByte = 0; // carried unchanged
    std::uint16_t DataLength = 0;
    std::uint8_t FifthByte = 0; // carried unchanged
};

// One smart-card configuration blob: its header and a data area whose first DataLength bytes are the blob.
class PYX_API SmartCardConfiguration
{
public:
    static constexpr std::size_t kMaxDataLength = 1016;

    // Checks the blob type, the header's length and the data's size, and only then stores header and data,
    // so a refused call (TessmarException) leaves the record as it was. The data area past the data keeps
    // what it held.
    void SetConfiguration(const BlobHeader& header, const std::vector<std::uint8_t>& data);

    const BlobHeader& GetHeader() const { return Header; }
    const std::array<std::uint8_t, kMaxDataLength>& GetData() const { return Data; }
    // The blob: the first DataLength bytes of the data area. A record copied in from outside may announce
    // more than the area holds; that is refused instead of read past the area.
    std::vector<std::uint8_t> GetBlobData() const;

private:
    BlobHeader Header;
    std::array<std::uint8_t, kMaxDataLength> Data{};

    static void CheckLayout()
    {
        static_assert(offsetof(SmartCardConfiguration, Header) == 0);
        static_assert(offsetof(SmartCardConfiguration, Data) == 5);
    }
};
#pragma pack(pop)

static_assert(sizeof(BlobHeader) == 5);
static_assert(offsetof(BlobHeader, BlobType) == 0);
static_assert(offsetof(BlobHeader, SecondByte) == 1);
static_assert(offsetof(BlobHeader, DataLength) == 2);
static_assert(offsetof(BlobHeader, FifthByte) == 4);
static_assert(sizeof(SmartCardConfiguration) == 1021);
static_assert(std::is_standard_layout_v<SmartCardConfiguration>);
static_assert(std::is_trivially_copyable_v<SmartCardConfiguration>);
} // namespace PyxCommon
