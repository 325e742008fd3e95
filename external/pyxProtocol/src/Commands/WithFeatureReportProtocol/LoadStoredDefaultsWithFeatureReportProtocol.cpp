#include "Commands/WithFeatureReportProtocol/LoadStoredDefaultsWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> LoadStoredDefaultsWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0xA0});
}

void LoadStoredDefaultsWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t> /*phrase*/) {}

bool LoadStoredDefaultsWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
