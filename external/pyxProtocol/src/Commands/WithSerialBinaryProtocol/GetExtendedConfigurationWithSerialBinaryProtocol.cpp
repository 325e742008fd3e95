#include "Commands/WithSerialBinaryProtocol/GetExtendedConfigurationWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/ExtendedConfigurationRules.h"
#include "Commands/SerialBinaryStatus.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kInstruction = 0x0A;
// The first request asks for the block's first 8 bytes; its reply is the echo, those bytes and 90 00.
constexpr std::uint8_t kHeaderChunkLength = 8;
constexpr std::size_t kHeaderReplySize = 11;
constexpr std::size_t kHeaderAt = 1;
constexpr std::size_t kChunkSize = 8;
// A data reply is the echo, the block and the status word.
constexpr std::size_t kReplyOverhead = 3;

bool EndsWithSuccess(const Bytes& reply)
{
    return reply.size() >= 2 && IsSerialBinarySuccess(reply[reply.size() - 2], reply[reply.size() - 1]);
}
} // namespace

void GetExtendedConfigurationWithSerialBinaryProtocol::Reset()
{
    SerialBinaryCommand::Reset();
    headerKnown_ = false;
    header_ = {};
}

bool GetExtendedConfigurationWithSerialBinaryProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 2;
}

std::vector<std::uint8_t> GetExtendedConfigurationWithSerialBinaryProtocol::NextCommandPhrase()
{
    if (_commandPhrasesSent++ == 0)
    {
        return Phrase::SerialBinary(kInstruction, 0x00, 0x00, kHeaderChunkLength);
    }
    return Phrase::SerialBinary(kInstruction, 0x00, 0x00,
                                static_cast<std::uint8_t>(header_.MaxStorageSize * kChunkSize));
}

void GetExtendedConfigurationWithSerialBinaryProtocol::AddResponsePhrase(std::vector<std::uint8_t> phrase)
{
    if (_responsePhrasesReceived == 0)
    {
        validateAndParseHeaderResponse(phrase);
        ++_responsePhrasesReceived;
        return;
    }
    SerialBinaryCommand::AddResponsePhrase(std::move(phrase));
}

bool GetExtendedConfigurationWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetExtendedConfigurationWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException,
                  "Empty response has been received from reader for GetExtendedConfiguration command");
    }
    if (!headerKnown_ || reply->size() != header_.MaxStorageSize * kChunkSize + kReplyOverhead ||
        !EndsWithSuccess(*reply))
    {
        PYX_THROW(ProtocolException,
                  "Invalid ACK data received from reader after GetExtendedConfiguration command");
    }
}

PyxCommon::ExtendedConfiguration GetExtendedConfigurationWithSerialBinaryProtocol::GetResult() const
{
    ValidateResponse();
    const Bytes& reply = _responsePhrases.front();
    // Without the echo in front and the status word behind.
    return PyxCommon::ExtendedConfiguration::FromVector({reply.begin() + 1, reply.end() - 2});
}

void GetExtendedConfigurationWithSerialBinaryProtocol::validateAndParseHeaderResponse(
    const std::vector<std::uint8_t>& reply)
{
    if (reply.size() != kHeaderReplySize || !EndsWithSuccess(reply))
    {
        PYX_THROW(ProtocolException, "Invalid ACK data received from reader for Data header while executing "
                                     "GetExtendedConfiguration command");
    }
    const auto header = ReadableExtendedConfigurationHeader(reply, kHeaderAt);
    if (!header)
    {
        PYX_THROW(
            ProtocolException,
            "Invalid Header data received from reader while executing GetExtendedConfiguration command");
    }
    header_ = *header;
    headerKnown_ = true;
}
} // namespace PyxProtocol
