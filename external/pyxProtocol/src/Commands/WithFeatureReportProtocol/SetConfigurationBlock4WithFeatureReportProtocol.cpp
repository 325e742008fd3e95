#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock4WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
SetConfigurationBlock4WithFeatureReportProtocol::SetConfigurationBlock4WithFeatureReportProtocol(
    const ReaderConfigurationBlock4& block)
    : _block(block)
{
}

bool SetConfigurationBlock4WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 2;
}

std::vector<std::uint8_t> SetConfigurationBlock4WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    if (_commandPhrasesSent == 1)
    {
        return Phrase::FeatureReport({0x83});
    }
    return ReaderConfigurationBlock4::ToVector(_block);
}

bool SetConfigurationBlock4WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
