#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock5WithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetConfigurationBlock5WithSerialBinaryProtocol::SetConfigurationBlock5WithSerialBinaryProtocol(
    const ReaderConfigurationBlock5& block)
    : _block(block)
{
}

std::vector<std::uint8_t> SetConfigurationBlock5WithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x81, 0x04, 0x00, ConfigurationBlockSize,
                                ReaderConfigurationBlock5::ToVector(_block));
}

void SetConfigurationBlock5WithSerialBinaryProtocol::ValidateResponse() const
{
    if (_commandPhrasesSent != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of SetConfigurationBlock5 before all responses were received");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "SetConfigurationBlock5 command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x81, 0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after SetConfigurationBlock5 command");
    }
}
} // namespace PyxProtocol
