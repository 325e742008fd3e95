#include "Commands/WithSerialBinaryProtocol/GetStringWithSerialBinaryProtocol.h"

#include <algorithm>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kInstruction = 0x0C;
constexpr std::uint8_t kTerminator = 0x00;
} // namespace

bool GetStringWithSerialBinaryProtocol::HasCommandPhrase()
{
    if (_responsePhrases.empty())
    {
        return true;
    }
    if (ReverseSeekNullTerminator(_responsePhrases.back()))
    {
        return false;
    }
    // A first reply without the echo is a status word, not text: asking on would only repeat it.
    if (!Reply::StartsWith(_responsePhrases.front(), {kInstruction}))
    {
        return false;
    }
    if (_commandPhrasesSent >= kMaxPhrases)
    {
        PYX_THROW(ProtocolException, "The reader did not end the string within 256 response phrases.");
    }
    return true;
}

std::vector<std::uint8_t> GetStringWithSerialBinaryProtocol::NextCommandPhrase()
{
    const auto sequence = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::SerialBinary(kInstruction, 0x04, static_cast<std::uint8_t>(_index), sequence);
}

bool GetStringWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetStringWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrases.empty())
    {
        PYX_THROW(ProtocolException, "No response received from the device.");
    }
    const Bytes& first = _responsePhrases.front();
    if (first.empty())
    {
        PYX_THROW(ProtocolException,
                  "The byte array received by GetStringWithSerialBinaryProtocol is empty.");
    }
    if (first.front() == kInstruction)
    {
        if (!ReverseSeekNullTerminator(_responsePhrases.back()))
        {
            PYX_THROW(ProtocolException,
                      "The response received from the device does not contain a null terminator.");
        }
        return;
    }
    if (Reply::StartsWith(first, {0x6B, 0x00}))
    {
        PYX_THROW(ProtocolException, "Requested string is invalid - out of range for Get String command");
    }
    if (Reply::StartsWith(first, {0x67, 0x00}))
    {
        PYX_THROW(ProtocolException, "Provided index is invalid - out of range for Get String command");
    }
    PYX_THROW(ProtocolException, "Invalid ACK received from reader after Get String command");
}

std::string GetStringWithSerialBinaryProtocol::GetResult() const
{
    std::string text;
    for (const Bytes& reply : _responsePhrases)
    {
        for (const std::uint8_t byte : reply)
        {
            if (byte == kTerminator)
            {
                return text;
            }
            if (byte != kInstruction)
            {
                text.push_back(static_cast<char>(byte));
            }
        }
    }
    return text;
}

bool GetStringWithSerialBinaryProtocol::ReverseSeekNullTerminator(const std::vector<std::uint8_t>& phrase)
{
    if (phrase.empty())
    {
        PYX_THROW(ProtocolException,
                  "The byte array received by GetStringWithSerialBinaryProtocol is empty.");
    }
    return std::find(phrase.rbegin(), phrase.rend(), 0x00) != phrase.rend();
}
} // namespace PyxProtocol
