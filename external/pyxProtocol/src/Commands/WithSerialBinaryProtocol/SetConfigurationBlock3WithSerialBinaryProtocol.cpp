#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock3WithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetConfigurationBlock3WithSerialBinaryProtocol::SetConfigurationBlock3WithSerialBinaryProtocol(
    const ReaderConfigurationBlock3& block)
    : _block(block)
{
}

std::vector<std::uint8_t> SetConfigurationBlock3WithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x81, 0x02, 0x00, ConfigurationBlockSize,
                                ReaderConfigurationBlock3::ToVector(_block));
}

void SetConfigurationBlock3WithSerialBinaryProtocol::ValidateResponse() const
{
    if (_commandPhrasesSent != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of SetConfigurationBlock3 before all responses were received");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "SetConfigurationBlock3 command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x81, 0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after SetConfigurationBlock3 command");
    }
}
} // namespace PyxProtocol
