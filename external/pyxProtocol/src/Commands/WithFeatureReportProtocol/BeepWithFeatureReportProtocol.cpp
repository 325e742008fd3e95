#include "Commands/WithFeatureReportProtocol/BeepWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
BeepWithFeatureReportProtocol::BeepWithFeatureReportProtocol(std::uint32_t count, BEEP_DURATION duration)
    : _count(count), _duration(duration)
{
}

std::vector<std::uint8_t> BeepWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    // Bit 7 of the count asks for long beeps.
    const auto countByte =
        static_cast<std::uint8_t>(_count | (_duration == BEEP_DURATION::BEEP_LONG ? 0x80 : 0x00));
    return Phrase::FeatureReport({0x8C, 0x03, countByte});
}
} // namespace PyxProtocol
