#include "Commands/WithFeatureReportProtocol/SetActiveConfigurationWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
SetActiveConfigurationWithFeatureReportProtocol::SetActiveConfigurationWithFeatureReportProtocol(
    std::uint8_t configurationNumber)
    : _configurationNumber(configurationNumber)
{
}

std::vector<std::uint8_t> SetActiveConfigurationWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x89, 0x81, _configurationNumber});
}
} // namespace PyxProtocol
