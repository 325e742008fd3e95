#pragma once

#include "Structures/ExtendedConfiguration.h"

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
} // namespace PyxProtocol
