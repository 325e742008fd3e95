#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
class GetBeeperVolumeWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The volume at byte 2 of the reply; the echo is not checked.
    BeepVolume GetResult() const;
};
} // namespace PyxProtocol
