#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace Pyx
{
#pragma pack(push, 1)
// How a configuration drives the reader's two LEDs. Two bytes, copied whole (also through the C interface).
struct LedConfiguration
{
    // 0 LEDs not under software control, 1 both off, 2 red, 3 green, 4 red and green.
    std::uint8_t LedColor = 0;
    bool SoftwareControlled = false;
};
#pragma pack(pop)

static_assert(sizeof(bool) == 1);
static_assert(sizeof(LedConfiguration) == 2);
static_assert(offsetof(LedConfiguration, LedColor) == 0);
static_assert(offsetof(LedConfiguration, SoftwareControlled) == 1);
static_assert(std::is_trivially_copyable_v<LedConfiguration>);
} // namespace Pyx
