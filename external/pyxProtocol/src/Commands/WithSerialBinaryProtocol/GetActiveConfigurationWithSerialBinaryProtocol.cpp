#include "Commands/WithSerialBinaryProtocol/GetActiveConfigurationWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kMinimumReplySize = 9;
}

std::vector<std::uint8_t> GetActiveConfigurationWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x09, 0x01, 0x00, 0x00);
}

void GetActiveConfigurationWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response received for GetActiveConfiguration command.");
    }
    if (!Reply::HasAtLeast(*reply, kMinimumReplySize))
    {
        PYX_THROW(ProtocolException, "Response too short for GetActiveConfiguration command.");
    }
    if (!Reply::StartsWith(*reply, {0x09, 0x01}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after GetActiveConfiguration command.");
    }
}

ActiveConfigurationInformation GetActiveConfigurationWithSerialBinaryProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response received for GetActiveConfiguration command.");
    }
    if (!Reply::HasAtLeast(*reply, kMinimumReplySize))
    {
        PYX_THROW(ProtocolException, "Response too short for GetActiveConfiguration command.");
    }
    return {Reply::ByteAt(*reply, 2), Reply::ByteAt(*reply, 3), Reply::BigEndian16(*reply, 5),
            Reply::ByteAt(*reply, 7)};
}
} // namespace PyxProtocol
