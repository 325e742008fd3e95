#include <algorithm>

#include "../Families.h"

// Smart-card blobs and BLE data on FeatureReport readers. Both use 89 10 (read) and 89 90 (write): phrase 0
// opens a transfer (a blob header, or a BLE setup or parameter phrase, told apart by bytes 4 and 5, 10 01 or
// 11 01, which no blob type uses), the numbered phrases after it carry four bytes each, and phrase FF ends a
// write. BLE replies carry a result code in byte 2.
namespace PyxTest::Sim
{
namespace
{
using Transfer = BlobSection::Transfer;

constexpr std::uint8_t kCommand = 0x89;
constexpr std::uint8_t kRead = 0x10;
constexpr std::uint8_t kWrite = 0x90;
constexpr std::uint8_t kEnd = 0xFF;
constexpr std::uint8_t kPollFlag = 0x80;
constexpr std::size_t kWordSize = 4;

constexpr std::uint8_t kReady = 0;
constexpr std::uint8_t kBusy = 11;
constexpr std::uint8_t kInvalidArgument = 22;

constexpr std::uint8_t kKeySection = 0x10;
constexpr std::uint8_t kUnencryptedKeySection = 0x04;
constexpr std::size_t kSectionSize = 128;

bool IsBleOpening(ByteView phrase, std::uint8_t marker)
{
    return phrase[3] == 0x00 && phrase[4] == marker && phrase[5] == 0x01;
}

Answer BleReply(std::uint8_t sub, std::uint8_t code, ByteView phrase,
                const std::array<std::uint8_t, 4>& data = {})
{
    return Reply({kCommand, sub, code, phrase[3], data[0], data[1], data[2], data[3]});
}

// The BLE area a section names, or an empty span for a section this reader does not have.
std::span<std::uint8_t> BleArea(BlobSection& blob, std::uint8_t section)
{
    if (section < 3)
    {
        return std::span<std::uint8_t>(blob.bleData).subspan(section * kSectionSize, kSectionSize);
    }
    if (section == kKeySection)
    {
        return blob.bleKey;
    }
    if (section == kUnencryptedKeySection)
    {
        return blob.unencryptedKey;
    }
    return {};
}

// A code queued by the test, if any, for a phrase that is not a poll.
std::optional<std::uint8_t> QueuedCode(BlobSection& blob)
{
    if (blob.phraseCodes.empty())
    {
        return std::nullopt;
    }
    const std::uint8_t code = blob.phraseCodes.front();
    blob.phraseCodes.pop_front();
    return code;
}

std::uint8_t PollCode(BlobSection& blob)
{
    if (!blob.pollCodes.empty())
    {
        const std::uint8_t code = blob.pollCodes.front();
        blob.pollCodes.pop_front();
        return code;
    }
    if (blob.busyLeft > 0)
    {
        --blob.busyLeft;
        return kBusy;
    }
    return kReady;
}

Answer BleRead(BlobSection& blob, ByteView phrase)
{
    const std::uint8_t index = phrase[3];
    if (index == 0)
    {
        const auto section = static_cast<std::uint8_t>(phrase[7] & ~kPollFlag);
        if ((phrase[7] & kPollFlag) != 0)
        {
            const bool known = blob.transfer == Transfer::BleRead && blob.section == section;
            return BleReply(kRead, known ? PollCode(blob) : kInvalidArgument, phrase);
        }
        if (auto code = QueuedCode(blob))
        {
            return BleReply(kRead, *code, phrase);
        }
        // Section 4 holds a key that never leaves the reader.
        if (BleArea(blob, section).empty() || section == kUnencryptedKeySection)
        {
            return BleReply(kRead, kInvalidArgument, phrase);
        }
        blob.transfer = Transfer::BleRead;
        blob.section = section;
        blob.busyLeft = blob.busyPolls;
        return BleReply(kRead, kReady, phrase);
    }
    if (auto code = QueuedCode(blob))
    {
        return BleReply(kRead, *code, phrase);
    }
    const auto area = BleArea(blob, blob.section);
    const std::size_t offset = (index - 1u) * kWordSize;
    if (offset + kWordSize > area.size())
    {
        return BleReply(kRead, kInvalidArgument, phrase);
    }
    std::array<std::uint8_t, 4> word{};
    std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(offset), kWordSize, word.begin());
    return BleReply(kRead, kReady, phrase, word);
}

Answer BleWrite(BlobSection& blob, ByteView phrase)
{
    const std::uint8_t index = phrase[3];
    if (index == kEnd && (phrase[7] & kPollFlag) != 0)
    {
        const bool known = blob.transfer == Transfer::BleWrite && blob.section == (phrase[7] & ~kPollFlag);
        return BleReply(kWrite, known ? PollCode(blob) : kInvalidArgument, phrase);
    }
    if (auto code = QueuedCode(blob))
    {
        return BleReply(kWrite, *code, phrase);
    }
    if (index == 0)
    {
        // The announced block length must be the section's size.
        const std::uint8_t section = phrase[7];
        if (BleArea(blob, section).size() != phrase[6])
        {
            return BleReply(kWrite, kInvalidArgument, phrase);
        }
        blob.transfer = Transfer::BleWrite;
        blob.section = section;
        blob.pending.assign(phrase[6], 0x00);
        return BleReply(kWrite, kReady, phrase);
    }
    if (index == kEnd)
    {
        if (phrase[7] != blob.section)
        {
            return BleReply(kWrite, kInvalidArgument, phrase);
        }
        const auto area = BleArea(blob, blob.section);
        std::copy(blob.pending.begin(), blob.pending.end(), area.begin());
        blob.storedSections.push_back(blob.section);
        blob.busyLeft = blob.busyPolls;
        return BleReply(kWrite, kReady, phrase);
    }
    const std::size_t offset = (index - 1u) * kWordSize;
    if (offset + kWordSize > blob.pending.size())
    {
        return BleReply(kWrite, kInvalidArgument, phrase);
    }
    std::copy_n(phrase.begin() + 4, kWordSize, blob.pending.begin() + static_cast<std::ptrdiff_t>(offset));
    return BleReply(kWrite, kReady, phrase);
}

Answer BlobRead(BlobSection& blob, ByteView phrase)
{
    const std::uint8_t index = phrase[3];
    if (index == 0)
    {
        blob.transfer = Transfer::BlobRead;
        std::copy_n(phrase.begin() + 4, kWordSize, blob.blobHeader.begin());
        return Reply(Bytes(phrase.begin(), phrase.begin() + 8));
    }
    Bytes reply{kCommand, kRead, 0x00, index, 0, 0, 0, 0};
    const auto found = blob.blobs.find(blob.blobHeader[0]);
    if (found != blob.blobs.end())
    {
        const Bytes& data = found->second;
        const std::size_t offset = (index - 1u) * kWordSize;
        for (std::size_t i = 0; i < kWordSize && offset + i < data.size(); ++i)
        {
            reply[4 + i] = data[offset + i];
        }
    }
    return Reply(std::move(reply));
}

Answer BlobWrite(BlobSection& blob, ByteView phrase)
{
    const std::uint8_t index = phrase[3];
    const Bytes ack(phrase.begin(), phrase.begin() + 8);
    if (index == 0)
    {
        blob.transfer = Transfer::BlobWrite;
        std::copy_n(phrase.begin() + 4, kWordSize, blob.blobHeader.begin());
        blob.pending.clear();
        return Reply(ack);
    }
    if (index == kEnd)
    {
        blob.blobs[blob.blobHeader[0]] = blob.pending;
        blob.blobWrites.push_back({blob.blobHeader, blob.pending});
        blob.transfer = Transfer::None;
        return Reply(ack);
    }
    const std::size_t offset = (index - 1u) * kWordSize;
    blob.pending.resize(std::max(blob.pending.size(), offset + kWordSize), 0x00);
    std::copy_n(phrase.begin() + 4, kWordSize, blob.pending.begin() + static_cast<std::ptrdiff_t>(offset));
    return Reply(ack);
}

bool InBle(const BlobSection& blob, Transfer transfer, ByteView phrase, std::uint8_t marker)
{
    return IsBleOpening(phrase, marker) || (phrase[3] != 0 && blob.transfer == transfer);
}
} // namespace

void RegisterBlobFamily(HandlerTables& tables)
{
    tables.featureReport.On(kCommand, kRead,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                BlobSection& blob = model.blob;
                                if (InBle(blob, Transfer::BleRead, phrase, 0x10))
                                {
                                    return blob.bleModule ? BleRead(blob, phrase) : Reply(Bytes(8, 0x00));
                                }
                                return BlobRead(blob, phrase);
                            });
    tables.featureReport.On(kCommand, kWrite,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                BlobSection& blob = model.blob;
                                if (InBle(blob, Transfer::BleWrite, phrase, 0x11))
                                {
                                    return blob.bleModule ? BleWrite(blob, phrase) : Reply(Bytes(8, 0x00));
                                }
                                return BlobWrite(blob, phrase);
                            });
}
} // namespace PyxTest::Sim
