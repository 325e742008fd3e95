#pragma once

#include <cstdint>

namespace Pyx
{
// Which settings ResetReaderConfiguration brings back; no other value is accepted.
enum class CheckpointType : std::uint8_t
{
    // The factory defaults are copied over the stored defaults, which are then loaded.
    FactoryDefaults = 1,
    // The stored (user) defaults are loaded.
    UserDefaults = 2,
};
} // namespace Pyx
