#include "Commands/WithMfp24Protocol/GetPartNumberWithMfp24Protocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kTextAt = 3;
constexpr std::size_t kTextEnd = Phrase::kMfp24Size - 1;
} // namespace

std::vector<std::uint8_t> GetPartNumberWithMfp24Protocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::Mfp24("QRZ01");
}

void GetPartNumberWithMfp24Protocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->size() != Phrase::kMfp24Size)
    {
        PYX_THROW(ProtocolException, "ValidateResponse called before all response phrases were added");
    }
    if (!Reply::StartsWith(*reply, {'R', 'R', 'Z'}) || reply->back() != Phrase::kCarriageReturn)
    {
        PYX_THROW(ProtocolException, "Invalid response received");
    }
}

std::string GetPartNumberWithMfp24Protocol::GetResult() const
{
    ValidateResponse();
    const Bytes& reply = _responsePhrases.front();
    std::string text(reply.begin() + kTextAt, reply.begin() + kTextEnd);
    const auto last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}
} // namespace PyxProtocol
