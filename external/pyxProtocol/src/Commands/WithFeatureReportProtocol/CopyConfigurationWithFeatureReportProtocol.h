#pragma once

#include "Commands/Command.h"
#include "Configuration/ConfigurationManagement.h"

namespace PyxProtocol
{
// Copies a configuration from one location to another; the reader echoes the request.
class CopyConfigurationWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    CopyConfigurationWithFeatureReportProtocol(ConfigurationLocation source,
                                               ConfigurationLocation destination, std::uint8_t extraByte1,
                                               std::uint8_t extraByte2);
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;

private:
    ConfigurationLocation _source;
    ConfigurationLocation _destination;
    std::uint8_t _extraByte1;
    std::uint8_t _extraByte2;
};
} // namespace PyxProtocol
