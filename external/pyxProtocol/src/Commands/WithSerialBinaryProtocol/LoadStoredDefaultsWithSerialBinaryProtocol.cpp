#include "Commands/WithSerialBinaryProtocol/LoadStoredDefaultsWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> LoadStoredDefaultsWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x03, 0x00, 0x00, 0x00);
}

void LoadStoredDefaultsWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrasesReceived != 1)
    {
        PYX_THROW(ProtocolException, "LoadStoredDefaults did not get response data to validate response.");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "LoadStoredDefaults command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after LoadStoredDefaults command");
    }
}
} // namespace PyxProtocol
