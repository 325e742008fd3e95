#include "Commands/WithFeatureReportProtocol/GetQueuedIdWithFeatureReportProtocol.h"

#include <algorithm>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::int32_t kPhrases = 5;
constexpr std::size_t kDataPages = 4;
constexpr std::size_t kReplySize = 8;
} // namespace

GetQueuedIdWithFeatureReportProtocol::GetQueuedIdWithFeatureReportProtocol(QueuedIdFlagParameters flags)
    : _flags(flags)
{
}

bool GetQueuedIdWithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhrases;
}

std::vector<std::uint8_t> GetQueuedIdWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto index = static_cast<std::uint8_t>(_commandPhrasesSent++);
    if (index < kDataPages)
    {
        return Phrase::FeatureReport({0x8C, 0x02, index});
    }
    return Phrase::FeatureReport({0x8C, 0x02, 0x04, static_cast<std::uint8_t>(_flags)});
}

bool GetQueuedIdWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

QueuedIdInformation GetQueuedIdWithFeatureReportProtocol::GetResult() const
{
    // Every position below is read from an 8-byte reply; a missing or short one is refused, never read.
    const bool complete =
        _responsePhrases.size() >= static_cast<std::size_t>(kPhrases) &&
        std::all_of(_responsePhrases.begin(), _responsePhrases.begin() + kPhrases,
                    [](const Bytes& reply) { return Reply::HasAtLeast(reply, kReplySize); });
    if (!complete)
    {
        PYX_THROW(
            ProtocolException,
            "GetQueuedIdWithFeatureReportProtocol::GetResult called before all response phrases were added");
    }
    QueuedIdInformation info{};
    for (std::size_t page = 0; page < kDataPages; ++page)
    {
        Reply::CopyBounded(_responsePhrases[page], 0, kReplySize, info.Data, page * kReplySize);
    }
    const Bytes& last = _responsePhrases[kDataPages];
    info.Field16 = Reply::LittleEndian16(last, 0);
    info.FieldA = Reply::ByteAt(last, 2);
    info.FieldB = Reply::ByteAt(last, 3);
    info.FieldC = Reply::ByteAt(last, 7);
    return info;
}
} // namespace PyxProtocol
