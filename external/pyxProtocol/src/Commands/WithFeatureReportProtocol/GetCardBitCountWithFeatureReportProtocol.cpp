#include "Commands/WithFeatureReportProtocol/GetCardBitCountWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetCardBitCountWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x8E});
}

std::uint8_t GetCardBitCountWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    // An empty reply carries no count either.
    if (reply == nullptr || !Reply::HasAtLeast(*reply, 1))
    {
        PYX_THROW(ProtocolException, "No response has been received. Did you execute the comand?");
    }
    return Reply::ByteAt(*reply, 0);
}
} // namespace PyxProtocol
