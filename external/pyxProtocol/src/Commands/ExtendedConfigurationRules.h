#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "Structures/ExtendedConfiguration.h"

// What the extended configuration commands of both protocols agree on: which announced header can be read
// and which hash values are sent. Each command keeps its own bytes and messages.
namespace PyxProtocol
{
// A header a reader may announce for its extended configuration: a version, the fixed record sizes, counts
// that fit the entry arrays and a storage size of 16 chunks (the 128-byte block).
inline bool IsReadableExtendedConfigurationHeader(const PyxCommon::FieldSeparatorDataHeader& header)
{
    return header.Version != 0 && header.HeaderSize == 4 && header.FieldEntrySize == 4 &&
           header.FieldEntryCount < 32 && header.SeparatorEntrySize == 2 && header.SeparatorEntryCount < 32 &&
           header.MaxStorageSize == 16;
}

// The header at `at` of a reply, when the reply holds it and it is readable; nothing otherwise.
inline std::optional<PyxCommon::FieldSeparatorDataHeader>
ReadableExtendedConfigurationHeader(const std::vector<std::uint8_t>& reply, std::size_t at)
{
    constexpr std::size_t size = PyxCommon::FieldSeparatorDataHeader::kByteSize;
    if (reply.size() < at || reply.size() - at < size)
    {
        return std::nullopt;
    }
    const auto header = PyxCommon::FieldSeparatorDataHeader::FromVector(
        {reply.begin() + static_cast<std::ptrdiff_t>(at),
         reply.begin() + static_cast<std::ptrdiff_t>(at + size)});
    if (!IsReadableExtendedConfigurationHeader(header))
    {
        return std::nullopt;
    }
    return header;
}

// A hash value is sent when the firmware's enhanced security is on, or when the value is set at all.
inline bool SendsHashValue(const PyxCommon::HashData& hash, const std::array<std::uint8_t, 16>& value)
{
    return hash.EnhanceSecurityFirmwareState == 1 || !PyxCommon::IsAllZero(value);
}
} // namespace PyxProtocol
