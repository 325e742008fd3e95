#pragma once

#include <cstddef>
#include <cstdint>

#include "PyxExport.h"

namespace PyxProtocol
{
// The reader's own transparent-mode status and state bytes; the library passes them through.
enum class TransparentModeStatus : std::uint8_t
{
};
enum class TransparentModeState : std::uint8_t
{
};

#pragma pack(push, 1)
// Reported is 0 when the reader answered with nothing to report (Status and State are then 0 too).
struct PYX_API TransparentModeStatusInformation
{
    std::uint8_t Reported;
    TransparentModeStatus Status;
    TransparentModeState State;
};
#pragma pack(pop)
static_assert(sizeof(TransparentModeStatusInformation) == 3);
static_assert(offsetof(TransparentModeStatusInformation, Reported) == 0);
static_assert(offsetof(TransparentModeStatusInformation, Status) == 1);
static_assert(offsetof(TransparentModeStatusInformation, State) == 2);
} // namespace PyxProtocol
