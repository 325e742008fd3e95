#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
// Sounds the beeper; the reply is read and not examined.
class BeepWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    BeepWithFeatureReportProtocol(std::uint32_t count, BEEP_DURATION duration);
    std::vector<std::uint8_t> NextCommandPhrase() override;

private:
    std::uint32_t _count;
    BEEP_DURATION _duration;
};
} // namespace PyxProtocol
