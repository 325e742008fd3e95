#include "Commands/WithFeatureReportProtocol/GetCardAnalyzerStatusWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetCardAnalyzerStatusWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x8C, 0x08});
}

CardAnalyzerStatus GetCardAnalyzerStatusWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response has been received.");
    }
    if (!Reply::HasAtLeast(*reply, 4) || !Reply::StartsWith(*reply, {0x8C, 0x08}))
    {
        PYX_THROW(ProtocolException, "Invalid response packet received for GetCardAnalyzerStatus command.");
    }
    return CardAnalyzerStatus{Reply::ByteAt(*reply, 2), Reply::ByteAt(*reply, 3)};
}
} // namespace PyxProtocol
