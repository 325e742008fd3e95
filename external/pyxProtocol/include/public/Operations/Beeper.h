#pragma once

#include <cstdint>

namespace PyxProtocol
{
// Length of each beep of Beep. Only 1 is long; every other value sounds a short beep.
enum class BEEP_DURATION : std::uint8_t
{
    BEEP_SHORT = 0,
    BEEP_LONG = 1,
};

// Beeper volume level; readers accept 0 to 3.
enum class BeepVolume : std::uint8_t
{
    VOLUME_0 = 0,
    VOLUME_1 = 1,
    VOLUME_2 = 2,
    VOLUME_3 = 3,
};

static_assert(sizeof(BEEP_DURATION) == 1);
static_assert(sizeof(BeepVolume) == 1);
} // namespace PyxProtocol
