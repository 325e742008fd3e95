#pragma once

#include <functional>

#include "Configuration/ConfigurationManagement.h"
#include "ProtocolCommandResult.h"

namespace PyxProtocol
{
// Runs `body` once and describes whatever it throws in the returned record (the library's own exceptions
// with their origin, standard exceptions and anything else with fixed type texts); never throws itself.
ProtocolCommandResult RunCheckedFacadeFunction(const std::function<void()>& body);

// The same for a body that yields a value: `value` is written only when the body succeeds.
ProtocolCommandResult RunCheckedFacadeFunction(const std::function<ActiveConfigurationInformation()>& body,
                                               ActiveConfigurationInformation& value);
} // namespace PyxProtocol
