#pragma once

#include "Commands/Command.h"
#include "Configuration/ConfigurationManagement.h"

namespace PyxProtocol
{
// Reads which configuration is active and how many there are. Reply: 09 01 active count - f16(hi lo) f8 SW.
// Unlike FeatureReport, Field16 travels high byte first.
class GetActiveConfigurationWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;
    ActiveConfigurationInformation GetResult() const;
};
} // namespace PyxProtocol
