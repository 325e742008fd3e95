#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock1WithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetConfigurationBlock1WithSerialBinaryProtocol::SetConfigurationBlock1WithSerialBinaryProtocol(
    const ReaderConfigurationBlock1& block)
    : _block(block)
{
}

std::vector<std::uint8_t> SetConfigurationBlock1WithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x81, 0x00, 0x00, ConfigurationBlockSize,
                                ReaderConfigurationBlock1::ToVector(_block));
}

void SetConfigurationBlock1WithSerialBinaryProtocol::ValidateResponse() const
{
    if (_commandPhrasesSent != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of SetConfigurationBlock1 before all responses were received");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "SetConfigurationBlock1 command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x81, 0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after SetConfigurationBlock1 command");
    }
}
} // namespace PyxProtocol
