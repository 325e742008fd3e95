#include "Commands/WithSerialBinaryProtocol/GetPartNumberWithSerialBinaryProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/TextReplies.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kInstruction = 0x0C;
constexpr std::size_t kMaxReplySize = 9;
} // namespace

bool GetPartNumberWithSerialBinaryProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhraseCount;
}

std::vector<std::uint8_t> GetPartNumberWithSerialBinaryProtocol::NextCommandPhrase()
{
    const auto sequence = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::SerialBinary(kInstruction, 0x01, sequence, 0x00);
}

bool GetPartNumberWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetPartNumberWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrases.size() != kPhraseCount)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetPartNumber before all responses were received");
    }
    for (std::size_t index = 0; index < _responsePhrases.size(); ++index)
    {
        const Bytes& reply = _responsePhrases[index];
        if (reply.empty())
        {
            PYX_THROW(ProtocolException, fmt::format("Response phrase at index {} is empty", index));
        }
        if (reply.front() != kInstruction)
        {
            PYX_THROW(ProtocolException, "Invalid ACK data received from reader after GetPartNumber command");
        }
    }
}

std::string GetPartNumberWithSerialBinaryProtocol::GetResult() const
{
    for (const Bytes& reply : _responsePhrases)
    {
        if (reply.size() > kMaxReplySize)
        {
            PYX_THROW(ProtocolException,
                      fmt::format(
                          "Expected 1-byte ACK and an 8 byte part number in response phrase but received {} "
                          "bytes",
                          reply.size()));
        }
    }
    return TextReplies::JoinNonZeroAfterEcho(_responsePhrases);
}
} // namespace PyxProtocol
