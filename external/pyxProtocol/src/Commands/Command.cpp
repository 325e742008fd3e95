#include "Commands/Command.h"

#include <utility>

#include "Transport.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint16_t kBinaryReplySize = 8;
constexpr std::uint16_t kMfp24ReplySize = 24;
} // namespace

void Command::Reset()
{
    _commandPhrasesSent = 0;
    _responsePhrasesReceived = 0;
    _responsePhrases.clear();
}

bool Command::HasCommandPhrase()
{
    return _commandPhrasesSent < 1;
}

void Command::AddResponsePhrase(std::vector<std::uint8_t> phrase)
{
    _responsePhrases.push_back(std::move(phrase));
    ++_responsePhrasesReceived;
}

bool Command::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < 1;
}

std::uint16_t Command::ResponsePhraseSize()
{
    return kBinaryReplySize;
}

std::size_t Command::ResponsePhraseCount()
{
    return _responsePhrases.size();
}

void Command::Execute(PyxTransport::Transport& transport)
{
    Reset();
    while (HasCommandPhrase())
    {
        std::vector<std::uint8_t> phrase = NextCommandPhrase();
        PyxTransport::TransportPacket packet;
        packet.Length = static_cast<std::uint16_t>(phrase.size());
        packet.Data = std::move(phrase);
        packet.ReportType = PyxTransport::HidReportType::Feature;
        transport.transmit(packet);
        // The receive reuses the request packet: the HID transport reads the report the request named, and
        // the serial transport looks at Length only.
        if (ExpectsResponsePhrase())
        {
            packet.Length = ResponsePhraseSize();
            AddResponsePhrase(transport.receive(packet));
        }
    }
}

std::uint16_t Mfp24Command::ResponsePhraseSize()
{
    return kMfp24ReplySize;
}
} // namespace PyxProtocol
