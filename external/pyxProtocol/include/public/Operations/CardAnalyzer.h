#pragma once

#include <cstddef>
#include <cstdint>

#include "PyxExport.h"

namespace PyxProtocol
{
#pragma pack(push, 1)
// The card analyzer's two status bytes, passed through as the reader sends them.
struct PYX_API CardAnalyzerStatus
{
    std::uint8_t FieldA;
    std::uint8_t FieldB;
};
#pragma pack(pop)
static_assert(sizeof(CardAnalyzerStatus) == 2);
static_assert(offsetof(CardAnalyzerStatus, FieldA) == 0);
static_assert(offsetof(CardAnalyzerStatus, FieldB) == 1);
} // namespace PyxProtocol
