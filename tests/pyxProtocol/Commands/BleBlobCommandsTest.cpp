#include <array>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/WithFeatureReportProtocol/GetBleBlobWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetBleBlobWithFeatureReportProtocol.h"
#include "RecordingTimeDelay.h"

namespace
{
using namespace PyxProtocol;
using PyxCommon::BleDataType;
using PyxTest::Bytes;
using PyxTest::ProtocolFailure;
using PyxTest::RecordingTimeDelay;
using PyxTest::ScriptedTransport;
using Op = ScriptedTransport::Operation;

constexpr std::uint32_t kPollDelay = 10;
constexpr std::int32_t kAttempts = 100;

Bytes ReadReply(std::uint8_t code, std::array<std::uint8_t, 4> data = {})
{
    return {0x89, 0x10, code, 0x00, data[0], data[1], data[2], data[3]};
}

Bytes WriteReply(std::uint8_t code)
{
    return {0x89, 0x90, code, 0, 0, 0, 0, 0};
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& part : parts)
    {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<int> Times(int count, int value)
{
    return std::vector<int>(static_cast<std::size_t>(count), value);
}

// A read whose waits the test can see; the command owns the delay, the test keeps a view of it.
struct Read
{
    explicit Read(BleDataType type, std::int32_t attempts = kAttempts)
    {
        auto owned = std::make_unique<RecordingTimeDelay>();
        delay = owned.get();
        command = std::make_unique<GetBleBlobWithFeatureReportProtocol>(type, kPollDelay, attempts,
                                                                        std::move(owned));
    }
    RecordingTimeDelay* delay;
    std::unique_ptr<GetBleBlobWithFeatureReportProtocol> command;
};

struct Write
{
    Write(BleDataType type, const Bytes& data, std::int32_t attempts = kAttempts)
    {
        auto owned = std::make_unique<RecordingTimeDelay>();
        delay = owned.get();
        command = std::make_unique<SetBleBlobWithFeatureReportProtocol>(type, data, kPollDelay, attempts,
                                                                        std::move(owned));
    }
    RecordingTimeDelay* delay;
    std::unique_ptr<SetBleBlobWithFeatureReportProtocol> command;
};

// Ready answers to a whole block read: setup, one poll, 32 data phrases carrying bytes first, first+1, ...
void QueueReadyBlock(ScriptedTransport& transport, std::uint8_t first)
{
    transport.QueueReply(ReadReply(0)).QueueReply(ReadReply(0));
    for (int i = 0; i < 32; ++i)
    {
        const auto b = static_cast<std::uint8_t>(first + 4 * i);
        transport.QueueReply(
            ReadReply(0, {b, static_cast<std::uint8_t>(b + 1), static_cast<std::uint8_t>(b + 2),
                          static_cast<std::uint8_t>(b + 3)}));
    }
}

std::vector<Bytes> ReadBlockPhrases(std::uint8_t section)
{
    std::vector<Bytes> phrases{{0x89, 0x10, 0, 0, 0x10, 0x01, 0, section},
                               {0x89, 0x10, 0, 0, 0x10, 0x01, 0, static_cast<std::uint8_t>(section | 0x80)}};
    for (std::uint8_t i = 1; i <= 32; ++i)
    {
        phrases.push_back({0x89, 0x10, 0, i, 0, 0, 0, 0});
    }
    return phrases;
}

TEST(BleBlobRead, KeyReadSendsSetupPollAndDataPhrasesAndReturnsTheirBytes)
{
    ScriptedTransport transport;
    QueueReadyBlock(transport, 0x00);
    Read read(BleDataType::Key);
    read.command->Execute(transport);

    EXPECT_EQ(transport.Transmitted(), ReadBlockPhrases(0x10));
    EXPECT_EQ(transport.ReceiveLengths(), std::vector<std::uint16_t>(34, 8));
    // 10 ms inside each exchange, 30 ms after the setup.
    EXPECT_EQ(read.delay->WaitsInMilliseconds(), Concat({{10, 30, 10}, Times(32, 10)}));
    read.command->ValidateResponse();
    Bytes expected(128);
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        expected[i] = static_cast<std::uint8_t>(i);
    }
    EXPECT_EQ(read.command->GetResult(), expected);
}

TEST(BleBlobRead, DataReadWalksSectionsZeroToTwo)
{
    ScriptedTransport transport;
    QueueReadyBlock(transport, 0x00);
    QueueReadyBlock(transport, 0x80);
    QueueReadyBlock(transport, 0x00);
    Read read(BleDataType::Data);
    read.command->Execute(transport);

    std::vector<Bytes> expected;
    for (std::uint8_t section : {0, 1, 2})
    {
        const auto block = ReadBlockPhrases(section);
        expected.insert(expected.end(), block.begin(), block.end());
    }
    EXPECT_EQ(transport.Transmitted(), expected);
    read.command->ValidateResponse();
    const Bytes result = read.command->GetResult();
    ASSERT_EQ(result.size(), 384u);
    EXPECT_EQ(result[128], 0x80);
    EXPECT_EQ(result[383], 0x7F);
}

TEST(BleBlobRead, UnencryptedKeyIsRefusedBeforeAnythingIsSent)
{
    EXPECT_EQ(
        ProtocolFailure([] { GetBleBlobWithFeatureReportProtocol(BleDataType::UnencryptedKey, 10, 100); }),
        "GetBleBlobWithFeatureReportProtocol: GetBleBlob does not support UnencryptedKey; Section 4 of the "
        "protocol is write-only");
}

TEST(BleBlobRead, ValidateResponseDemandsEveryExpectedByte)
{
    Read read(BleDataType::Key);
    EXPECT_EQ(ProtocolFailure([&] { read.command->ValidateResponse(); }),
              "ValidateResponse: GetBleBlob expected 128 bytes but got 0");
}

TEST(BleBlobRead, BusyPollsNeverMakeAStorm)
{
    ScriptedTransport transport;
    transport.QueueReply(ReadReply(0));
    transport.QueueReplies(std::vector<Bytes>(12, ReadReply(11)));
    transport.QueueReply(ReadReply(0));
    transport.QueueReplies(std::vector<Bytes>(32, ReadReply(0)));
    Read read(BleDataType::Key);
    read.command->Execute(transport);

    EXPECT_EQ(transport.CountOf(Op::Transmit), 1u + 13u + 32u);
    // Each busy poll: its exchange, then the poll delay.
    std::vector<int> polls;
    for (int i = 0; i < 12; ++i)
    {
        polls.insert(polls.end(), {10, 10});
    }
    EXPECT_EQ(read.delay->WaitsInMilliseconds(), Concat({{10, 30}, polls, {10}, Times(32, 10)}));
}

TEST(BleBlobRead, TenNonBusyPollFailuresResendTheSetup)
{
    ScriptedTransport transport;
    transport.QueueReply(ReadReply(0));
    transport.QueueReplies(std::vector<Bytes>(10, ReadReply(3)));
    QueueReadyBlock(transport, 0x00);
    Read read(BleDataType::Key);
    read.command->Execute(transport);

    const auto sent = transport.Transmitted();
    const Bytes setup{0x89, 0x10, 0, 0, 0x10, 0x01, 0, 0x10};
    ASSERT_EQ(sent.size(), 1u + 10u + 34u);
    EXPECT_EQ(sent[0], setup);
    EXPECT_EQ(sent[11], setup);
    // Nine polls wait their delay; the tenth bails out at once, then 30 ms before the setup goes again.
    std::vector<int> storm;
    for (int i = 0; i < 9; ++i)
    {
        storm.insert(storm.end(), {10, 10});
    }
    EXPECT_EQ(read.delay->WaitsInMilliseconds(),
              Concat({{10, 30}, storm, {10, 30}, {10, 30, 10}, Times(32, 10)}));
}

TEST(BleBlobRead, BusyBreaksARunOfPollFailures)
{
    ScriptedTransport transport;
    transport.QueueReply(ReadReply(0));
    for (int run = 0; run < 2; ++run)
    {
        transport.QueueReplies(std::vector<Bytes>(9, ReadReply(3)));
        transport.QueueReply(ReadReply(11));
    }
    transport.QueueReply(ReadReply(0));
    transport.QueueReplies(std::vector<Bytes>(32, ReadReply(0)));
    Read read(BleDataType::Key);
    read.command->Execute(transport);
    EXPECT_EQ(transport.CountOf(Op::Transmit), 1u + 21u + 32u);
}

TEST(BleBlobRead, PersistingStormEndsAfterThreeSetupResends)
{
    ScriptedTransport transport;
    for (int setup = 0; setup < 4; ++setup)
    {
        transport.QueueReply(ReadReply(0));
        transport.QueueReplies(std::vector<Bytes>(10, ReadReply(3)));
    }
    Read read(BleDataType::Key);
    EXPECT_EQ(
        ProtocolFailure([&] { read.command->Execute(transport); }),
        "ReadBlock: GetBleBlob read poll: poll storm persisted after 3 setup retries. The reader may not "
        "have a BLE module installed.");
    EXPECT_EQ(transport.CountOf(Op::Transmit), 44u);
    EXPECT_EQ(transport.PendingReplies(), 0u);
}

TEST(BleBlobRead, PollWithAttemptLimitBelowOneTimesOutWithoutPolling)
{
    ScriptedTransport transport;
    transport.QueueReply(ReadReply(0));
    Read read(BleDataType::Key, 0);
    EXPECT_EQ(
        ProtocolFailure([&] { read.command->Execute(transport); }),
        "PollUntilReady: Polling timed out after 0 attempts during GetBleBlob read poll. The reader may not "
        "have a BLE module installed.");
    EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
}

TEST(BleBlobRead, FatalCodesEndTheReadAfterOneExchange)
{
    const std::pair<std::uint8_t, const char*> cases[] = {
        {4, "Previous operation interrupted during "},
        {5, "I/O error during "},
        {12, "Out of memory during "},
        {22, "Invalid argument during "},
    };
    for (const auto& [code, text] : cases)
    {
        SCOPED_TRACE(static_cast<int>(code));
        ScriptedTransport transport;
        transport.QueueReply({0x89, 0x10, code, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE});
        transport.QueueReply(ReadReply(0));
        Read read(BleDataType::Key);
        EXPECT_EQ(ProtocolFailure([&] { read.command->Execute(transport); }),
                  std::string("CheckResponseCode: ") + text + "GetBleBlob read setup");
        EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
    }
}

TEST(BleBlobRead, RepliesThatAreNotBleBlobRepliesAreRefused)
{
    struct Case
    {
        Bytes reply;
        const char* failure;
    } const cases[] = {
        {{0x8C, 0x10, 0x00, 0, 0, 0, 0, 0},
         "CheckResponseCode: Invalid response during GetBleBlob read setup: expected command 0x89 and opcode "
         "0x10 "
         "but got 0x8C 0x10. The reader may not support this command."},
        {{0x89, 0x90, 0x00, 0, 0, 0, 0, 0},
         "CheckResponseCode: Invalid response during GetBleBlob read setup: expected command 0x89 and opcode "
         "0x10 "
         "but got 0x89 0x90. The reader may not support this command."},
        {{0x89, 0x10}, "CheckResponseCode: Response too short during GetBleBlob read setup"},
        {{}, "CheckResponseCode: Response too short during GetBleBlob read setup"},
    };
    for (const auto& c : cases)
    {
        ScriptedTransport transport;
        transport.QueueReply(c.reply);
        Read read(BleDataType::Key);
        EXPECT_EQ(ProtocolFailure([&] { read.command->Execute(transport); }), c.failure);
        EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
    }
}

TEST(BleBlobRead, DataReplyWithoutItsFourBytesIsTooShort)
{
    ScriptedTransport transport;
    transport.QueueReply(ReadReply(0)).QueueReply(ReadReply(0));
    transport.QueueReply({0x89, 0x10, 0x00, 0x01, 0xAA, 0xBB});
    Read read(BleDataType::Key);
    EXPECT_EQ(ProtocolFailure([&] { read.command->Execute(transport); }),
              "ReadBlock: Response too short during GetBleBlob read data index 1");
}

TEST(BleBlobRead, TransientCodesAreRetriedThreeTimes)
{
    {
        ScriptedTransport transport;
        transport.QueueReplies(std::vector<Bytes>(4, ReadReply(7)));
        Read read(BleDataType::Key);
        EXPECT_EQ(ProtocolFailure([&] { read.command->Execute(transport); }),
                  "SendWithRetry: Transient error persisted after 3 retries during GetBleBlob read setup. "
                  "The reader "
                  "may not have a BLE module installed.");
        EXPECT_EQ(transport.CountOf(Op::Transmit), 4u);
        EXPECT_EQ(read.delay->WaitsInMilliseconds(), (std::vector<int>{10, 25, 10, 25, 10, 25, 10}));
    }
    {
        ScriptedTransport transport;
        transport.QueueReplies(std::vector<Bytes>(3, ReadReply(7)));
        QueueReadyBlock(transport, 0);
        Read read(BleDataType::Key);
        read.command->Execute(transport);
        read.command->ValidateResponse();
        EXPECT_EQ(transport.CountOf(Op::Transmit), 3u + 34u);
    }
}

TEST(BleBlobWrite, UnencryptedKeyWritesOneShortBlockToSectionFour)
{
    Bytes key(16);
    for (std::size_t i = 0; i < key.size(); ++i)
    {
        key[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    ScriptedTransport transport;
    transport.QueueReplies(std::vector<Bytes>(7, WriteReply(0)));
    Write write(BleDataType::UnencryptedKey, key);
    write.command->Execute(transport);

    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{
                                           {0x89, 0x90, 0, 0x00, 0x11, 0x01, 0x10, 0x04},
                                           {0x89, 0x90, 0, 0x01, 0xA0, 0xA1, 0xA2, 0xA3},
                                           {0x89, 0x90, 0, 0x02, 0xA4, 0xA5, 0xA6, 0xA7},
                                           {0x89, 0x90, 0, 0x03, 0xA8, 0xA9, 0xAA, 0xAB},
                                           {0x89, 0x90, 0, 0x04, 0xAC, 0xAD, 0xAE, 0xAF},
                                           {0x89, 0x90, 0, 0xFF, 0x00, 0x00, 0x00, 0x04},
                                           {0x89, 0x90, 0, 0xFF, 0x00, 0x00, 0x00, 0x84},
                                       }));
    EXPECT_EQ(write.delay->WaitsInMilliseconds(), (std::vector<int>{10, 10, 10, 10, 10, 10, 100, 10, 100}));
}

TEST(BleBlobWrite, DataOfTheWrongSizeIsRefusedBeforeAnythingIsSent)
{
    const std::tuple<BleDataType, std::size_t, const char*> cases[] = {
        {BleDataType::UnencryptedKey, 17, "16"},
        {BleDataType::Key, 127, "128"},
        {BleDataType::Data, 0, "384"},
        {static_cast<BleDataType>(9), 384, "128"},
    };
    for (const auto& [type, size, expected] : cases)
    {
        EXPECT_EQ(ProtocolFailure([&] { SetBleBlobWithFeatureReportProtocol(type, Bytes(size), 10, 100); }),
                  std::string("SetBleBlobWithFeatureReportProtocol: Data size must be ") + expected +
                      " bytes for the specified BLE data type");
    }
}

TEST(BleBlobWrite, DataWriteStoresThreeSectionsWithPausesBetweenBlocks)
{
    Bytes data(384);
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        data[i] = static_cast<std::uint8_t>(i / 4);
    }
    ScriptedTransport transport;
    transport.QueueReplies(std::vector<Bytes>(3 * 35, WriteReply(0)));
    Write write(BleDataType::Data, data);
    write.command->Execute(transport);

    const auto sent = transport.Transmitted();
    ASSERT_EQ(sent.size(), 105u);
    for (std::uint8_t block = 0; block < 3; ++block)
    {
        SCOPED_TRACE(static_cast<int>(block));
        const std::size_t at = block * 35u;
        EXPECT_EQ(sent[at], (Bytes{0x89, 0x90, 0, 0, 0x11, 0x01, 0x80, block}));
        EXPECT_EQ(sent[at + 33], (Bytes{0x89, 0x90, 0, 0xFF, 0, 0, 0, block}));
        EXPECT_EQ(sent[at + 34],
                  (Bytes{0x89, 0x90, 0, 0xFF, 0, 0, 0, static_cast<std::uint8_t>(0x80 | block)}));
    }
    // Block 1's first data phrase carries blob bytes 128 to 131.
    EXPECT_EQ(sent[36], (Bytes{0x89, 0x90, 0, 0x01, 32, 32, 32, 32}));
    const std::vector<int> block = Concat({Times(34, 10), {100, 10}});
    EXPECT_EQ(write.delay->WaitsInMilliseconds(), Concat({block, {100}, block, {100}, block, {100}}));
}

TEST(BleBlobWrite, StorePollRetriesEveryCodeUntilTheLimit)
{
    ScriptedTransport transport;
    transport.QueueReplies(std::vector<Bytes>(34, WriteReply(0)));
    for (int i = 0; i < 100; ++i)
    {
        transport.QueueReply(WriteReply(i % 2 == 0 ? 3 : 11));
    }
    Write write(BleDataType::Key, Bytes(128));
    EXPECT_EQ(
        ProtocolFailure([&] { write.command->Execute(transport); }),
        "PollUntilReady: Polling timed out after 100 attempts during SetBleBlob store poll. The reader may "
        "not have a BLE module installed.");
    EXPECT_EQ(transport.CountOf(Op::Transmit), 134u);
    EXPECT_EQ(transport.PendingReplies(), 0u);
}

TEST(BleBlobWrite, FatalCodeOrBadEchoEndsTheWriteAtOnce)
{
    {
        ScriptedTransport transport;
        transport.QueueReply(WriteReply(0)).QueueReply(WriteReply(22)).QueueReply(WriteReply(0));
        Write write(BleDataType::Key, Bytes(128));
        EXPECT_EQ(ProtocolFailure([&] { write.command->Execute(transport); }),
                  "CheckResponseCode: Invalid argument during SetBleBlob write data index 1");
        EXPECT_EQ(transport.CountOf(Op::Transmit), 2u);
    }
    {
        ScriptedTransport transport;
        transport.QueueReply({0x89, 0x10, 0, 0, 0, 0, 0, 0});
        Write write(BleDataType::Key, Bytes(128));
        EXPECT_EQ(ProtocolFailure([&] { write.command->Execute(transport); }),
                  "CheckResponseCode: Invalid response during SetBleBlob write config params: expected "
                  "command 0x89 "
                  "and opcode 0x90 but got 0x89 0x10. The reader may not support this command.");
    }
}

TEST(BleBlobCommands, PhraseSlotsOfTheExchangeLoopAreRefused)
{
    GetBleBlobWithFeatureReportProtocol read(BleDataType::Key, 10, 100);
    SetBleBlobWithFeatureReportProtocol write(BleDataType::Key, Bytes(128), 10, 100);
    EXPECT_EQ(ProtocolFailure([&] { read.HasCommandPhrase(); }),
              "HasCommandPhrase: GetBleBlob uses Execute() override; HasCommandPhrase() should not be called "
              "directly");
    EXPECT_EQ(ProtocolFailure([&] { read.AddResponsePhrase({}); }),
              "AddResponsePhrase: GetBleBlob uses Execute() override; AddResponsePhrase() should not be "
              "called directly");
    EXPECT_EQ(ProtocolFailure([&] { write.NextCommandPhrase(); }),
              "NextCommandPhrase: SetBleBlob uses Execute() override; NextCommandPhrase() should not be "
              "called directly");
    EXPECT_EQ(ProtocolFailure([&] { write.ExpectsResponsePhrase(); }),
              "ExpectsResponsePhrase: SetBleBlob uses Execute() override; ExpectsResponsePhrase() should not "
              "be called directly");
}
} // namespace
