#pragma once

#include <string>

#include "Logging/Logger.h"

// The logger every part of the reader interface writes to, under its one tag.
namespace Pyx
{
inline constexpr const char* kReaderTag = "READER";

inline PyxCommon::Logger& Log()
{
    return PyxCommon::Logger::GetInstance(false, true);
}
} // namespace Pyx
