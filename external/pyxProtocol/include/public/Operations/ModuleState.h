#pragma once

#include <cstdint>

namespace PyxProtocol
{
// Whether ConfigureModuleState reads or sets a module's state.
enum class ReaderModuleAction : std::uint8_t
{
    Get = 1,
    Set = 2,
};

// A reader module; 0 names none. Other values are the reader's own module numbers.
enum class ReaderModuleId : std::uint8_t
{
    Invalid = 0,
};

// A module's state; 0 names none. Other values are the reader's own states.
enum class ReaderModuleState : std::uint8_t
{
    Invalid = 0,
};
} // namespace PyxProtocol
