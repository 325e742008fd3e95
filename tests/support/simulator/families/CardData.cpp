#include <algorithm>

#include "../Families.h"

namespace PyxTest::Sim
{
namespace
{
constexpr std::uint8_t kQueuedIdChunks = 4;  // phrases 0-3 carry the 32 identifier bytes
constexpr std::uint8_t kQueuedIdTrailer = 4; // phrase 4 carries the fields and the flag byte

CardSection::Card PresentedOrEmpty(const CardSection& card)
{
    return card.presented.value_or(CardSection::Card{});
}

// Eight bytes of the card data from position 8 x `chunk`; zeros past the 32 bytes.
Bytes CardChunk(const std::array<std::uint8_t, 32>& data, std::size_t chunk)
{
    Bytes bytes(8, 0x00);
    if (chunk < 4)
    {
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(chunk * 8), 8, bytes.begin());
    }
    return bytes;
}

CardSection::QueuedId QueueHead(const CardSection& card)
{
    return card.queuedIds.empty() ? CardSection::QueuedId{} : card.queuedIds.front();
}

// The eight bytes of the queued-id phrase `k`; the trailer also takes the head off the queue.
std::optional<Bytes> QueuedIdPhrase(CardSection& card, std::uint8_t k, std::uint8_t flags)
{
    const CardSection::QueuedId head = QueueHead(card);
    if (k < kQueuedIdChunks)
    {
        return CardChunk(head.data, k);
    }
    if (k != kQueuedIdTrailer)
    {
        return std::nullopt;
    }
    if (!card.queuedIds.empty())
    {
        card.queuedIds.pop_front();
    }
    card.queuedIdFlags.push_back(flags);
    return Bytes{static_cast<std::uint8_t>(head.field16 & 0xFF),
                 static_cast<std::uint8_t>(head.field16 >> 8),
                 head.fieldA,
                 head.fieldB,
                 0x00,
                 0x00,
                 0x00,
                 head.fieldC};
}

void RegisterFeatureReport(HandlerTables& tables)
{
    tables.featureReport.On(0x8E, [](ReaderModel& model, ByteView)
                            { return Reply(FeatureReportPhrase({PresentedOrEmpty(model.card).bitCount})); });
    tables.featureReport.On(0x8F, [](ReaderModel& model, ByteView)
                            { return Reply(CardChunk(PresentedOrEmpty(model.card).data, 0)); });
    tables.featureReport.On(0x8D, [](ReaderModel& model, ByteView phrase)
                            { return Reply(CardChunk(PresentedOrEmpty(model.card).data, phrase[1])); });
    tables.featureReport.On(
        0x8C, 0x02,
        [](ReaderModel& model, ByteView phrase)
        { return Reply(QueuedIdPhrase(model.card, phrase[2], phrase[3]).value_or(Bytes(8, 0x00))); });
}

// FA 00 00 00 P3: P3 is the reply's length less the echo, the bit count, two unused bytes and the status
// word: 0C for the short read, 24 for the long one.
Answer SerialCardData(const CardSection& card, std::uint8_t p3)
{
    std::size_t dataBytes = 0;
    if (p3 == 0x0C)
    {
        dataBytes = 8;
    }
    else if (p3 == 0x24)
    {
        dataBytes = 32;
    }
    else
    {
        return Reply(P3Incorrect());
    }
    const CardSection::Card presented = PresentedOrEmpty(card);
    Bytes reply{0x00, 0x00, presented.bitCount, 0x00, 0x00};
    reply.insert(reply.end(), presented.data.begin(),
                 presented.data.begin() + static_cast<std::ptrdiff_t>(dataBytes));
    const Bytes status = card.presented ? Success() : CardNotFound();
    reply.insert(reply.end(), status.begin(), status.end());
    return Reply(std::move(reply));
}

void RegisterSerialBinary(HandlerTables& tables)
{
    tables.serialBinary.On(0x00, {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                                  { return SerialCardData(model.card, phrase[4]); }});
    tables.serialBinary.On(0x0C, 0x02,
                           {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                            {
                                auto bytes = QueuedIdPhrase(model.card, phrase[3], phrase[4]);
                                if (!bytes)
                                {
                                    return Reply(P1OrP2Incorrect());
                                }
                                // The binary reply with the instruction echoed ahead and the status behind.
                                Bytes reply{0x0C};
                                reply.insert(reply.end(), bytes->begin(), bytes->end());
                                reply.push_back(0x90);
                                reply.push_back(0x00);
                                return Reply(std::move(reply));
                            }});
}
} // namespace

void RegisterCardDataFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
