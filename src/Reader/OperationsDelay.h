#pragma once

#include <functional>
#include <memory>

#include "Utility/TimeDelay.h"

namespace Pyx
{
// How the reader operations wait (the pauses of the smart-card transfer): real waits unless a test installs
// another maker; an empty maker brings the real waits back.
void SetReaderOperationDelayMaker(std::function<std::unique_ptr<PyxCommon::TimeDelay>()> maker);
std::unique_ptr<PyxCommon::TimeDelay> MakeReaderOperationDelay();
} // namespace Pyx
