#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock1WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
SetConfigurationBlock1WithFeatureReportProtocol::SetConfigurationBlock1WithFeatureReportProtocol(
    const ReaderConfigurationBlock1& block)
    : _block(block)
{
}

bool SetConfigurationBlock1WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 2;
}

std::vector<std::uint8_t> SetConfigurationBlock1WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    if (_commandPhrasesSent == 1)
    {
        return Phrase::FeatureReport({0x80});
    }
    return ReaderConfigurationBlock1::ToVector(_block);
}

bool SetConfigurationBlock1WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
