#include "Commands/WithFeatureReportProtocol/GetESNWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetESNWithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhraseCount;
}

std::vector<std::uint8_t> GetESNWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto sequence = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::FeatureReport({0x8C, 0x05, sequence});
}

bool GetESNWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

std::string GetESNWithFeatureReportProtocol::GetResult() const
{
    if (_responsePhrases.size() != kPhraseCount)
    {
        PYX_THROW(ProtocolException, "Attempted to get result of GetESN before all responses were received");
    }
    std::string esn;
    for (const Bytes& reply : _responsePhrases)
    {
        esn.append(reply.begin(), reply.end());
    }
    return esn;
}
} // namespace PyxProtocol
