#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock2WithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetConfigurationBlock2WithSerialBinaryProtocol::SetConfigurationBlock2WithSerialBinaryProtocol(
    const ReaderConfigurationBlock2& block)
    : _block(block)
{
}

std::vector<std::uint8_t> SetConfigurationBlock2WithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x81, 0x01, 0x00, ConfigurationBlockSize,
                                ReaderConfigurationBlock2::ToVector(_block));
}

void SetConfigurationBlock2WithSerialBinaryProtocol::ValidateResponse() const
{
    if (_commandPhrasesSent != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of SetConfigurationBlock2 before all responses were received");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "SetConfigurationBlock2 command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x81, 0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after SetConfigurationBlock2 command");
    }
}
} // namespace PyxProtocol
