#include "Commands/WithSerialBinaryProtocol/GetQueuedIdWithSerialBinaryProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::int32_t kPhrases = 5;
constexpr std::size_t kDataPages = 4;
constexpr std::size_t kPageSize = 8;
constexpr std::size_t kReplySize = 11;
constexpr std::uint8_t kInstruction = 0x0C;
} // namespace

GetQueuedIdWithSerialBinaryProtocol::GetQueuedIdWithSerialBinaryProtocol(QueuedIdFlagParameters flags)
    : _flags(flags)
{
}

bool GetQueuedIdWithSerialBinaryProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhrases;
}

std::vector<std::uint8_t> GetQueuedIdWithSerialBinaryProtocol::NextCommandPhrase()
{
    const auto index = static_cast<std::uint8_t>(_commandPhrasesSent++);
    if (index < kDataPages)
    {
        return Phrase::SerialBinary(kInstruction, 0x02, index, 0x00);
    }
    return Phrase::SerialBinary(kInstruction, 0x02, 0x04, static_cast<std::uint8_t>(_flags));
}

bool GetQueuedIdWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetQueuedIdWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrases.size() != static_cast<std::size_t>(kPhrases))
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetQueuedID before all responses were received");
    }
    for (std::size_t i = 0; i < _responsePhrases.size(); ++i)
    {
        const Bytes& reply = _responsePhrases[i];
        if (reply.empty())
        {
            PYX_THROW(ProtocolException, fmt::format("Response phrase at index {} is empty", i));
        }
        if (reply.size() != kReplySize)
        {
            PYX_THROW(
                ProtocolException,
                fmt::format("Response phrase at index {} is {} bytes but should be 11", i, reply.size()));
        }
        if (reply[0] != kInstruction || !Reply::MatchesAt(reply, 9, {0x90, 0x00}))
        {
            PYX_THROW(ProtocolException, "Invalid ACK data received from reader after GetQueuedID command");
        }
    }
}

QueuedIdInformation GetQueuedIdWithSerialBinaryProtocol::GetResult() const
{
    // Pages need bytes 1 to 8 behind the echo; the last reply needs byte 8.
    bool complete = _responsePhrases.size() >= static_cast<std::size_t>(kPhrases);
    for (std::size_t i = 0; complete && i < kDataPages; ++i)
    {
        complete = Reply::HasAtLeast(_responsePhrases[i], 10);
    }
    if (!complete || !Reply::HasAtLeast(_responsePhrases[kDataPages], 9))
    {
        PYX_THROW(
            ProtocolException,
            "GetQueuedIdWithSerialBinaryProtocol::GetResult called before all response phrases were added");
    }
    QueuedIdInformation info{};
    for (std::size_t page = 0; page < kDataPages; ++page)
    {
        Reply::CopyBounded(_responsePhrases[page], 1, 1 + kPageSize, info.Data, page * kPageSize);
    }
    const Bytes& last = _responsePhrases[kDataPages];
    info.Field16 = Reply::LittleEndian16(last, 1);
    info.FieldA = Reply::ByteAt(last, 3);
    info.FieldB = Reply::ByteAt(last, 4);
    info.FieldC = Reply::ByteAt(last, 8);
    return info;
}
} // namespace PyxProtocol
