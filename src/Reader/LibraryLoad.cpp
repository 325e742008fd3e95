#include "Logging/Logger.h"

namespace
{
// Loading the library builds the logging manager, so the logging environment is read once, at load.
[[maybe_unused]] PyxCommon::Logger& logger = PyxCommon::Logger::GetInstance(false, true);
} // namespace
