#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock3WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
SetConfigurationBlock3WithFeatureReportProtocol::SetConfigurationBlock3WithFeatureReportProtocol(
    const ReaderConfigurationBlock3& block)
    : _block(block)
{
}

bool SetConfigurationBlock3WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 2;
}

std::vector<std::uint8_t> SetConfigurationBlock3WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    if (_commandPhrasesSent == 1)
    {
        return Phrase::FeatureReport({0x82});
    }
    return ReaderConfigurationBlock3::ToVector(_block);
}

bool SetConfigurationBlock3WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
