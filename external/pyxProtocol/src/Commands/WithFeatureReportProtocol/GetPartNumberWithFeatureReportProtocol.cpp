#include "Commands/WithFeatureReportProtocol/GetPartNumberWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/TextReplies.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetPartNumberWithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhraseCount;
}

std::vector<std::uint8_t> GetPartNumberWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto sequence = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::FeatureReport({0x8C, 0x01, sequence});
}

bool GetPartNumberWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

std::string GetPartNumberWithFeatureReportProtocol::GetResult() const
{
    if (_responsePhrasesReceived < kPhraseCount)
    {
        PYX_THROW(ProtocolException, "GetPartNumberWithFeatureReportProtocol::GetResult called before all "
                                     "response phrases were added");
    }
    return TextReplies::JoinUpToFirstZero(_responsePhrases);
}
} // namespace PyxProtocol
