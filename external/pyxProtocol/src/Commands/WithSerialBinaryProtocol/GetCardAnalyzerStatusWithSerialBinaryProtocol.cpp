#include "Commands/WithSerialBinaryProtocol/GetCardAnalyzerStatusWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kReplySize = 5;
}

std::vector<std::uint8_t> GetCardAnalyzerStatusWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x0C, 0x08, 0x00, 0x00);
}

void GetCardAnalyzerStatusWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "No response has been received.");
    }
    if (reply->size() != kReplySize || reply->front() != 0x0C || !Reply::MatchesAt(*reply, 3, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid response packet received for GetCardAnalyzerStatus command.");
    }
}

CardAnalyzerStatus GetCardAnalyzerStatusWithSerialBinaryProtocol::GetResult() const
{
    ValidateResponse();
    const Bytes& reply = _responsePhrases.front();
    return CardAnalyzerStatus{Reply::ByteAt(reply, 1), Reply::ByteAt(reply, 2)};
}
} // namespace PyxProtocol
