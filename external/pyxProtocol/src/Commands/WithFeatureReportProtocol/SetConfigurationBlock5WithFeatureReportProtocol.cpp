#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock5WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
SetConfigurationBlock5WithFeatureReportProtocol::SetConfigurationBlock5WithFeatureReportProtocol(
    const ReaderConfigurationBlock5& block)
    : _block(block)
{
}

bool SetConfigurationBlock5WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 2;
}

std::vector<std::uint8_t> SetConfigurationBlock5WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    if (_commandPhrasesSent == 1)
    {
        return Phrase::FeatureReport({0x84});
    }
    return ReaderConfigurationBlock5::ToVector(_block);
}

bool SetConfigurationBlock5WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
