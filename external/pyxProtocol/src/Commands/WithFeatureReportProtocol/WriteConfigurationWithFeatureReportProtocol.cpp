#include "Commands/WithFeatureReportProtocol/WriteConfigurationWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> WriteConfigurationWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x90});
}

void WriteConfigurationWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t> /*phrase*/) {}

bool WriteConfigurationWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
