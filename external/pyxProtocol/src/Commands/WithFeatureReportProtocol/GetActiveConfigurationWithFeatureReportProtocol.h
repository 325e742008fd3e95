#pragma once

#include "Commands/Command.h"
#include "Configuration/ConfigurationManagement.h"

namespace PyxProtocol
{
// Reads which configuration is active and how many there are. Reply: 89 01 active count - f16(lo hi) f8.
class GetActiveConfigurationWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse();
    ActiveConfigurationInformation GetResult() const;
};
} // namespace PyxProtocol
