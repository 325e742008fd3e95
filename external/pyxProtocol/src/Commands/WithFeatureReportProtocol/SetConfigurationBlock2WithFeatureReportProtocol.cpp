#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock2WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
SetConfigurationBlock2WithFeatureReportProtocol::SetConfigurationBlock2WithFeatureReportProtocol(
    const ReaderConfigurationBlock2& block)
    : _block(block)
{
}

bool SetConfigurationBlock2WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 2;
}

std::vector<std::uint8_t> SetConfigurationBlock2WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    if (_commandPhrasesSent == 1)
    {
        return Phrase::FeatureReport({0x81});
    }
    return ReaderConfigurationBlock2::ToVector(_block);
}

bool SetConfigurationBlock2WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
