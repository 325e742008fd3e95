#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock2WithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kBlockAt = 1;
constexpr std::size_t kStatusAt = kBlockAt + ConfigurationBlockSize;
} // namespace

std::vector<std::uint8_t> GetConfigurationBlock2WithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x01, 0x01, 0x00, ConfigurationBlockSize);
}

void GetConfigurationBlock2WithSerialBinaryProtocol::ValidateResponse() const
{
    if (_commandPhrasesSent != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of Get Configuration block 2 before all responses were received");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Get Configuration block 2 command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x01}) || !Reply::MatchesAt(*reply, kStatusAt, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after Get Configuration block 2 command");
    }
}

ReaderConfigurationBlock2 GetConfigurationBlock2WithSerialBinaryProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Get Configuration block 2 command response was empty.");
    }
    if (!Reply::HasAtLeast(*reply, kStatusAt))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after Get Configuration block 2 command");
    }
    const auto from = reply->begin() + kBlockAt;
    return ReaderConfigurationBlock2::FromVector(Bytes(from, from + ConfigurationBlockSize));
}
} // namespace PyxProtocol
