#include "Commands/WithSerialBinaryProtocol/GetESNWithSerialBinaryProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/TextReplies.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kInstruction = 0x08;
}

bool GetESNWithSerialBinaryProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhraseCount;
}

std::vector<std::uint8_t> GetESNWithSerialBinaryProtocol::NextCommandPhrase()
{
    const auto sequence = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::SerialBinary(kInstruction, sequence, 0x00, 0x00);
}

bool GetESNWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetESNWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrases.size() != kPhraseCount)
    {
        PYX_THROW(ProtocolException, "Attempted to get result of GetESN before all responses were received");
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
            PYX_THROW(ProtocolException, "Invalid ACK data received from reader after GetESN command");
        }
    }
}

std::string GetESNWithSerialBinaryProtocol::GetResult() const
{
    return TextReplies::JoinNonZeroAfterEcho(_responsePhrases);
}
} // namespace PyxProtocol
