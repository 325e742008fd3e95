#include "Commands/WithFeatureReportProtocol/SetLuidWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
namespace
{
constexpr int kPhraseCount = 2;
}

bool SetLuidWithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhraseCount;
}

std::vector<std::uint8_t> SetLuidWithFeatureReportProtocol::NextCommandPhrase()
{
    if (_commandPhrasesSent++ == 0)
    {
        return Phrase::FeatureReport({0x8A});
    }
    return Phrase::FeatureReport(
        {0x00, static_cast<std::uint8_t>(_luid & 0xFF), static_cast<std::uint8_t>(_luid >> 8)});
}

void SetLuidWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t> /*phrase*/) {}

bool SetLuidWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}
} // namespace PyxProtocol
