#include "Commands/WithSerialBinaryProtocol/BeepWithSerialBinaryProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/SerialBinaryStatus.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
BeepWithSerialBinaryProtocol::BeepWithSerialBinaryProtocol(std::uint8_t count, BEEP_DURATION duration)
    : _duration(static_cast<std::uint8_t>(duration)), _count(count)
{
}

std::vector<std::uint8_t> BeepWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    // Bit 7 of the count asks for long beeps.
    const auto countByte = static_cast<std::uint8_t>(
        _count | (_duration == static_cast<std::uint8_t>(BEEP_DURATION::BEEP_LONG) ? 0x80 : 0x00));
    return Phrase::SerialBinary(0x0C, 0x03, countByte, 0x00);
}

void BeepWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Beep command response was empty.");
    }
    if (Reply::HasAtLeast(*reply, 2) && IsSerialBinarySuccess((*reply)[0], (*reply)[1]))
    {
        return;
    }
    // A one-byte reply carries no status word: an unknown error, not a read past the reply.
    const SerialBinaryStatus status = Reply::HasAtLeast(*reply, 2)
                                          ? ToSerialBinaryStatus((*reply)[0], (*reply)[1])
                                          : SerialBinaryStatus::UNKNOWN_ERROR;
    PYX_THROW(ProtocolException,
              fmt::format("Beep command received error response: {}", SerialBinaryStatusToString(status)));
}
} // namespace PyxProtocol
