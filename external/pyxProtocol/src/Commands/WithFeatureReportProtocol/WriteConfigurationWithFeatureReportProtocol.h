#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// Stores the working configuration. The reader sends nothing back, so nothing is read.
class WriteConfigurationWithFeatureReportProtocol : public Command
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    bool ExpectsResponsePhrase() override;
};
} // namespace PyxProtocol
