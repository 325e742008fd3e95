#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Writes block 4 of the active configuration: a command phrase, then the 8 block bytes as a data phrase.
// The reader's acceptance is not read back.
class SetConfigurationBlock4WithFeatureReportProtocol : public Command
{
public:
    explicit SetConfigurationBlock4WithFeatureReportProtocol(const ReaderConfigurationBlock4& block);
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;

private:
    ReaderConfigurationBlock4 _block;
};
} // namespace PyxProtocol
