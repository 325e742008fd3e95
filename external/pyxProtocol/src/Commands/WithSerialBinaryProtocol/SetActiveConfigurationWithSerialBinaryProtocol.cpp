#include "Commands/WithSerialBinaryProtocol/SetActiveConfigurationWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetActiveConfigurationWithSerialBinaryProtocol::SetActiveConfigurationWithSerialBinaryProtocol(
    std::uint8_t configurationNumber)
    : _configurationNumber(configurationNumber)
{
}

std::vector<std::uint8_t> SetActiveConfigurationWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x09, 0x81, _configurationNumber, 0x00);
}

void SetActiveConfigurationWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrasesReceived != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of SetActiveConfiguration before all responses were received");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "SetActiveConfiguration command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x09, 0x81}) || !Reply::MatchesAt(*reply, 8, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after SetActiveConfiguration command");
    }
}
} // namespace PyxProtocol
