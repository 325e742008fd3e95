#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// Selects the active configuration. The reply is read and not examined.
class SetActiveConfigurationWithFeatureReportProtocol : public Command
{
public:
    explicit SetActiveConfigurationWithFeatureReportProtocol(std::uint8_t configurationNumber);
    std::vector<std::uint8_t> NextCommandPhrase() override;

private:
    std::uint8_t _configurationNumber;
};
} // namespace PyxProtocol
