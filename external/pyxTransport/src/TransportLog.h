#pragma once

#include "Logging/Logger.h"

// The logger every transport writes to, under this layer's one tag.
namespace PyxTransport
{
inline constexpr const char* kTag = "TRANSPORT";
// The level of the byte dumps, asked for first so that a dump is only built when it is written.
inline constexpr int kTraceLevel = 0;

inline PyxCommon::Logger& Log()
{
    return PyxCommon::Logger::GetInstance(false, true);
}
} // namespace PyxTransport
