#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock4WithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetConfigurationBlock4WithSerialBinaryProtocol::SetConfigurationBlock4WithSerialBinaryProtocol(
    const ReaderConfigurationBlock4& block)
    : _block(block)
{
}

std::vector<std::uint8_t> SetConfigurationBlock4WithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x81, 0x03, 0x00, ConfigurationBlockSize,
                                ReaderConfigurationBlock4::ToVector(_block));
}

void SetConfigurationBlock4WithSerialBinaryProtocol::ValidateResponse() const
{
    if (_commandPhrasesSent != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of SetConfigurationBlock4 before all responses were received");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "SetConfigurationBlock4 command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x81, 0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after SetConfigurationBlock4 command");
    }
}
} // namespace PyxProtocol
