#include "Commands/WithSerialBinaryProtocol/WriteConfigurationWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
WriteConfigurationWithSerialBinaryProtocol::WriteConfigurationWithSerialBinaryProtocol(
    std::uint8_t writeLuidToFlash)
    : _writeLuidToFlash(writeLuidToFlash)
{
}

std::vector<std::uint8_t> WriteConfigurationWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    // The visitor admits only 0 and 1; the reader takes the request as bit 7 of P1.
    const std::uint8_t p1 = _writeLuidToFlash != 0 ? 0x80 : 0x00;
    return Phrase::SerialBinary(0x02, p1, 0x00, 0x00);
}

void WriteConfigurationWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException,
                  "Empty response has been received from reader after WriteConfiguration command");
    }
    if (!Reply::Equals(*reply, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid response has been received from reader after WriteConfiguration command");
    }
}
} // namespace PyxProtocol
