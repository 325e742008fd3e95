#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Reads block 3 of the active configuration: one phrase, one 8-byte reply that is the block itself.
class GetConfigurationBlock3WithFeatureReportProtocol : public Command
{
public:
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // The block decoded from the reply, which carries no echo; a missing or short reply throws.
    ReaderConfigurationBlock3 GetResult() const;
};
} // namespace PyxProtocol
