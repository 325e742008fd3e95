#include "Commands/WithFeatureReportProtocol/GetStringWithFeatureReportProtocol.h"

#include <algorithm>

#include "Commands/CommandHelpers.h"
#include "Commands/TextReplies.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetStringWithFeatureReportProtocol::HasCommandPhrase()
{
    if (_responsePhrases.empty())
    {
        return true;
    }
    if (ReverseSeekNullTerminator(_responsePhrases.back()))
    {
        return false;
    }
    if (_commandPhrasesSent >= kMaxPhrases)
    {
        PYX_THROW(ProtocolException, "The reader did not end the string within 256 response phrases.");
    }
    return true;
}

std::vector<std::uint8_t> GetStringWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto sequence = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::FeatureReport({0x8C, 0x04, static_cast<std::uint8_t>(_index), sequence});
}

bool GetStringWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetStringWithFeatureReportProtocol::ValidateResponse() const
{
    if (_responsePhrases.empty())
    {
        PYX_THROW(ProtocolException, "No response received from the device.");
    }
    if (!ReverseSeekNullTerminator(_responsePhrases.back()))
    {
        PYX_THROW(ProtocolException,
                  "The response received from the device does not contain a null terminator. "
                  "Did you read far enough?");
    }
}

std::string GetStringWithFeatureReportProtocol::GetResult() const
{
    return TextReplies::JoinUpToFirstZero(_responsePhrases);
}

bool GetStringWithFeatureReportProtocol::ReverseSeekNullTerminator(const std::vector<std::uint8_t>& phrase)
{
    if (phrase.empty())
    {
        PYX_THROW(ProtocolException,
                  "The byte array received by GetStringWithFeatureReportProtocol is empty.");
    }
    return std::find(phrase.rbegin(), phrase.rend(), 0x00) != phrase.rend();
}
} // namespace PyxProtocol
