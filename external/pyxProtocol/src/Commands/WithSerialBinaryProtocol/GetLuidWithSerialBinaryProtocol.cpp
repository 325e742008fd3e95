#include "Commands/WithSerialBinaryProtocol/GetLuidWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kInstruction = 0x05;
constexpr std::size_t kReplySize = 11;
constexpr std::size_t kStatusAt = 9;
} // namespace

std::vector<std::uint8_t> GetLuidWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(kInstruction, 0x00, 0x00, 0x08);
}

void GetLuidWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrasesReceived != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetLuid before all responses were received.");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Empty response has been received after GetLuid command.");
    }
    if (reply->size() != kReplySize || reply->front() != kInstruction ||
        !Reply::MatchesAt(*reply, kStatusAt, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid ACK data received from reader after GetLuid command");
    }
}

LuidResponseInformation GetLuidWithSerialBinaryProtocol::GetResult() const
{
    ValidateResponse();
    const Bytes& reply = _responsePhrases.front();
    return LuidResponseInformation{Reply::LittleEndian16(reply, 1), Reply::LittleEndian16(reply, 3),
                                   Reply::BigEndian32(reply, 5)};
}
} // namespace PyxProtocol
