#include <cstdlib>
#include <cstring>
#include <functional>
#include <numeric>
#include <string>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/WithFeatureReportProtocol/GetCardBitCountWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetCardDataWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetQueuedIdWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetCardDataWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetQueuedIdWithSerialBinaryProtocol.h"
#include "LogCapture.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::LogCapture;
using PyxTest::ProtocolFailure;
using PyxTest::ScriptedTransport;

constexpr auto kSize8 = GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES;
constexpr auto kSize32 = GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES;
const auto kFlags = static_cast<QueuedIdFlagParameters>(0x5A);

Bytes Counting(std::size_t size, std::uint8_t first)
{
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

// A SerialBinary card reply: FA-less header echo bytes, bit count at 2, data from 5, status last.
Bytes SerialCardReply(std::size_t length, std::uint8_t bitCount, std::uint8_t sw1, std::uint8_t sw2)
{
    Bytes reply = Counting(length, 0x40);
    reply[2] = bitCount;
    reply[length - 2] = sw1;
    reply[length - 1] = sw2;
    return reply;
}

using PyxTest::Exchanged;
using PyxTest::RunOn;

TEST(CardDataCommands, RequestBytes)
{
    const auto zero = Bytes(8, 0);
    const auto five = std::vector<Bytes>(5, Bytes(11, 0));
    const struct
    {
        const char* name;
        Exchanged exchanged;
        std::vector<Bytes> requests;
    } cases[] = {
        {"bit count, FeatureReport",
         RunOn(GetCardBitCountWithFeatureReportProtocol(), {zero}),
         {{0x8E, 0, 0, 0, 0, 0, 0, 0}}},
        {"card data size 1, FeatureReport",
         RunOn(GetCardDataWithFeatureReportProtocol(kSize8), {zero}),
         {{0x8F, 0, 0, 0, 0, 0, 0, 0}}},
        {"card data size 2, FeatureReport",
         RunOn(GetCardDataWithFeatureReportProtocol(kSize32), {zero, zero, zero, zero}),
         {{0x8D, 0, 0, 0, 0, 0, 0, 0},
          {0x8D, 1, 0, 0, 0, 0, 0, 0},
          {0x8D, 2, 0, 0, 0, 0, 0, 0},
          {0x8D, 3, 0, 0, 0, 0, 0, 0}}},
        {"card data of another size sends nothing, FeatureReport",
         RunOn(GetCardDataWithFeatureReportProtocol(static_cast<GetCardDataSizeParameters>(3)), {}),
         {}},
        {"card data size 1, SerialBinary",
         RunOn(GetCardDataWithSerialBinaryProtocol(kSize8), {zero}),
         {{0xFA, 0x00, 0x00, 0x00, 0x0C}}},
        {"card data size 2, SerialBinary",
         RunOn(GetCardDataWithSerialBinaryProtocol(kSize32), {zero}),
         {{0xFA, 0x00, 0x00, 0x00, 0x24}}},
        {"queued id, FeatureReport",
         RunOn(GetQueuedIdWithFeatureReportProtocol(kFlags), five),
         {{0x8C, 0x02, 0, 0, 0, 0, 0, 0},
          {0x8C, 0x02, 1, 0, 0, 0, 0, 0},
          {0x8C, 0x02, 2, 0, 0, 0, 0, 0},
          {0x8C, 0x02, 3, 0, 0, 0, 0, 0},
          {0x8C, 0x02, 4, 0x5A, 0, 0, 0, 0}}},
        {"queued id, SerialBinary",
         RunOn(GetQueuedIdWithSerialBinaryProtocol(kFlags), five),
         {{0xFA, 0x0C, 0x02, 0, 0},
          {0xFA, 0x0C, 0x02, 1, 0},
          {0xFA, 0x0C, 0x02, 2, 0},
          {0xFA, 0x0C, 0x02, 3, 0},
          {0xFA, 0x0C, 0x02, 4, 0x5A}}},
    };
    for (const auto& c : cases)
    {
        const Exchanged& exchanged = c.exchanged;
        EXPECT_EQ(exchanged.sent, c.requests) << c.name;
        // One 8-byte read after every phrase.
        EXPECT_EQ(exchanged.replyLengths, std::vector<std::uint16_t>(c.requests.size(), 8)) << c.name;
        EXPECT_EQ(exchanged.unusedReplies, 0u) << c.name;
    }
}

TEST(CardDataCommands, SerialBinaryRefusesAnUnknownSizeBeforeSending)
{
    GetCardDataWithSerialBinaryProtocol command(static_cast<GetCardDataSizeParameters>(0));
    ScriptedTransport transport;
    EXPECT_EQ(ProtocolFailure([&] { command.Execute(transport); }),
              "NextCommandPhrase: Unsupported card data read size requested by GetCardData command.");
    EXPECT_TRUE(transport.Calls().empty());
}

TEST(CardDataCommands, FeatureReportCardDataFillsEightBytesPerReply)
{
    {
        GetCardDataWithFeatureReportProtocol command(kSize32);
        RunOn(command, {Counting(8, 0), Counting(8, 8), Counting(8, 16), Counting(8, 24)});
        EXPECT_EQ(command.GetResult(), Counting(32, 0));
    }
    {
        GetCardDataWithFeatureReportProtocol command(kSize8);
        RunOn(command, {Counting(8, 1)});
        Bytes expected(32, 0);
        std::iota(expected.begin(), expected.begin() + 8, 1);
        EXPECT_EQ(command.GetResult(), expected);
    }
    {
        // A longer reply stays in its own slot; a shorter one leaves zeros behind it.
        GetCardDataWithFeatureReportProtocol command(kSize32);
        RunOn(command, {Counting(12, 0x10), {0xAA, 0xBB}, {}, Counting(40, 0x80)});
        Bytes expected(32, 0);
        std::iota(expected.begin(), expected.begin() + 8, 0x10);
        expected[8] = 0xAA;
        expected[9] = 0xBB;
        std::iota(expected.begin() + 24, expected.end(), 0x80);
        EXPECT_EQ(command.GetResult(), expected);
    }
}

TEST(CardDataCommands, FeatureReportBitCount)
{
    GetCardBitCountWithFeatureReportProtocol command;
    RunOn(command, {{26, 0, 0, 0, 0, 0, 0, 0}});
    EXPECT_EQ(command.GetResult(), 26);

    GetCardBitCountWithFeatureReportProtocol notRun;
    EXPECT_EQ(ProtocolFailure([&] { notRun.GetResult(); }),
              "GetResult: No response has been received. Did you execute the comand?");
    GetCardBitCountWithFeatureReportProtocol empty;
    RunOn(empty, {{}});
    EXPECT_EQ(ProtocolFailure([&] { empty.GetResult(); }),
              "GetResult: No response has been received. Did you execute the comand?");
}

TEST(CardDataCommands, SerialBinaryCardReplyChecks)
{
    const struct
    {
        const char* name;
        GetCardDataSizeParameters size;
        std::vector<Bytes> replies;
        const char* outcome;
    } cases[] = {
        {"short form", kSize8, {SerialCardReply(15, 26, 0x90, 0x00)}, "no exception"},
        {"long form", kSize32, {SerialCardReply(39, 200, 0x90, 0x00)}, "no exception"},
        {"only SW1 is looked at", kSize8, {SerialCardReply(15, 26, 0x90, 0x6B)}, "no exception"},
        {"no card is no failure", kSize8, {SerialCardReply(15, 0, 0x6A, 0x82)}, "no exception"},
        {"empty", kSize8, {{}}, "ValidateResponse: Response phrase at index 0 is empty"},
        {"14 bytes",
         kSize8,
         {SerialCardReply(14, 26, 0x90, 0x00)},
         "ValidateResponse: Response phrase at index 0 is not 15 bytes long. Expected 15 bytes, got 14 "
         "bytes"},
        {"38 bytes",
         kSize32,
         {SerialCardReply(38, 26, 0x90, 0x00)},
         "ValidateResponse: Response phrase at index 0 is not 39 bytes long. Expected 39 bytes, got 38 "
         "bytes"},
        {"a short-form reply to a long read",
         kSize32,
         {SerialCardReply(15, 26, 0x90, 0x00)},
         "ValidateResponse: Response phrase at index 0 is not 39 bytes long. Expected 39 bytes, got 15 "
         "bytes"},
        {"short form, failure status",
         kSize8,
         {SerialCardReply(15, 26, 0x6B, 0x00)},
         "ValidateResponse: Response phrase at index 13 is not a valid response. Expected 0x90, got 0x6b"},
        {"long form, failure status",
         kSize32,
         {SerialCardReply(39, 26, 0x6A, 0x83)},
         "ValidateResponse: Response phrase at index 37 is not a valid response. Expected 0x90, got 0x6a"},
    };
    for (const auto& c : cases)
    {
        GetCardDataWithSerialBinaryProtocol command(c.size);
        RunOn(command, c.replies);
        EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }), c.outcome) << c.name;
    }
    GetCardDataWithSerialBinaryProtocol notRun(kSize8);
    EXPECT_EQ(ProtocolFailure([&] { notRun.ValidateResponse(); }),
              "ValidateResponse: Attempted to get result of GetCardData before all responses were received");
}

TEST(CardDataCommands, SerialBinaryNoCardIsLoggedAndDecodedLikeAnyReply)
{
    GetCardDataWithSerialBinaryProtocol command(kSize8);
    RunOn(command, {SerialCardReply(15, 0x1A, 0x6A, 0x82)});
    const LogCapture log("PYX_PROTOCOL_LOG_LEVEL", "info");
    command.ValidateResponse();
    EXPECT_TRUE(log.Contains("[PROTOCOL] Received NO_CARD response, which indicates that the reader does not "
                             "have a card present. Returning empty card data result."))
        << log.Text();
    EXPECT_EQ(command.GetBitCount(), 0x1A);
    Bytes expected(32, 0);
    std::iota(expected.begin(), expected.begin() + 8, 0x45);
    EXPECT_EQ(command.GetResult(), expected);
}

TEST(CardDataCommands, SerialBinaryLongReadDecodesThirtyTwoBytes)
{
    GetCardDataWithSerialBinaryProtocol command(kSize32);
    RunOn(command, {SerialCardReply(39, 200, 0x90, 0x00)});
    command.ValidateResponse();
    EXPECT_EQ(command.GetBitCount(), 200);
    EXPECT_EQ(command.GetResult(), Counting(32, 0x45));
}

TEST(CardDataCommands, SerialBinaryDecodersNeverReadPastAShortReply)
{
    const char* noReply = "No response has been received. Did you execute the command?";
    GetCardDataWithSerialBinaryProtocol notRun(kSize8);
    EXPECT_EQ(ProtocolFailure([&] { notRun.GetBitCount(); }), std::string("GetBitCount: ") + noReply);
    EXPECT_EQ(ProtocolFailure([&] { notRun.GetResult(); }), std::string("GetResult: ") + noReply);

    GetCardDataWithSerialBinaryProtocol twoBytes(kSize8);
    RunOn(twoBytes, {{0x90, 0x00}});
    EXPECT_EQ(ProtocolFailure([&] { twoBytes.GetBitCount(); }),
              "GetBitCount: Response phrase at index 0 is not 15 bytes long. Expected 15 bytes, got 2 bytes");
    EXPECT_EQ(twoBytes.GetResult(), Bytes(32, 0));

    GetCardDataWithSerialBinaryProtocol seven(kSize8);
    RunOn(seven, {Counting(7, 1)});
    EXPECT_EQ(seven.GetResult(), Bytes(32, 0));

    GetCardDataWithSerialBinaryProtocol oversized(kSize8);
    RunOn(oversized, {Counting(60, 0)});
    EXPECT_EQ(oversized.GetResult(), Counting(32, 5));
}

std::vector<Bytes> FeatureQueuedReplies()
{
    return {Counting(8, 0),
            Counting(8, 8),
            Counting(8, 16),
            Counting(8, 24),
            {0x34, 0x12, 0xA1, 0xB2, 9, 9, 9, 0xC3}};
}

std::vector<Bytes> SerialQueuedReplies()
{
    std::vector<Bytes> replies;
    for (const Bytes& page : FeatureQueuedReplies())
    {
        Bytes reply{0x0C};
        reply.insert(reply.end(), page.begin(), page.end());
        reply.push_back(0x90);
        reply.push_back(0x00);
        replies.push_back(reply);
    }
    return replies;
}

// The identifier bytes, then Field16 0x1234 low byte first, then A1 B2 C3: the record as a host sees it.
Bytes ExpectedQueuedRecord()
{
    Bytes record = Counting(32, 0);
    for (std::uint8_t b : {0x34, 0x12, 0xA1, 0xB2, 0xC3})
    {
        record.push_back(b);
    }
    return record;
}

Bytes RecordBytes(const QueuedIdInformation& info)
{
    Bytes bytes(sizeof info);
    std::memcpy(bytes.data(), &info, sizeof info);
    return bytes;
}

TEST(CardDataCommands, QueuedIdDecodesTheSameRecordInBothProtocols)
{
    GetQueuedIdWithFeatureReportProtocol feature(kFlags);
    RunOn(feature, FeatureQueuedReplies());
    EXPECT_EQ(RecordBytes(feature.GetResult()), ExpectedQueuedRecord());

    GetQueuedIdWithSerialBinaryProtocol serial(kFlags);
    RunOn(serial, SerialQueuedReplies());
    serial.ValidateResponse();
    EXPECT_EQ(RecordBytes(serial.GetResult()), ExpectedQueuedRecord());
}

TEST(CardDataCommands, QueuedIdRefusesMissingShortAndWrongReplies)
{
    auto serialWith = [](std::size_t index, Bytes reply)
    {
        auto replies = SerialQueuedReplies();
        replies[index] = std::move(reply);
        return replies;
    };
    auto serialBroken = [](std::size_t index, std::size_t at, std::uint8_t value)
    {
        auto replies = SerialQueuedReplies();
        replies[index][at] = value;
        return replies;
    };
    auto fourReplies = SerialQueuedReplies();
    fourReplies.pop_back();
    const char* notAll = "Attempted to get result of GetQueuedID before all responses were received";
    const char* badAck = "ValidateResponse: Invalid ACK data received from reader after GetQueuedID command";
    const struct
    {
        const char* name;
        std::vector<Bytes> replies;
        std::string outcome;
    } validateCases[] = {
        {"four replies", fourReplies, std::string("ValidateResponse: ") + notAll},
        {"third reply 10 bytes", serialWith(2, Counting(10, 0x0C)),
         "ValidateResponse: Response phrase at index 2 is 10 bytes but should be 11"},
        {"fourth reply empty", serialWith(3, {}), "ValidateResponse: Response phrase at index 3 is empty"},
        {"wrong echo", serialBroken(1, 0, 0x0D), badAck},
        {"failure status", serialBroken(4, 9, 0x6A), badAck},
        {"SW2 not 00", serialBroken(0, 10, 0x01), badAck},
    };
    for (const auto& c : validateCases)
    {
        GetQueuedIdWithSerialBinaryProtocol command(kFlags);
        ScriptedTransport transport;
        transport.QueueReplies(c.replies);
        try
        {
            command.Execute(transport);
        }
        catch (const std::exception&)
        {
            // Fewer replies than phrases: the transport runs dry, which the check below must report.
        }
        EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }), c.outcome) << c.name;
    }

    // The decoders refuse what they cannot read, even when validation was skipped.
    GetQueuedIdWithSerialBinaryProtocol serialShort(kFlags);
    RunOn(serialShort, serialWith(1, Counting(9, 0x0C)));
    EXPECT_EQ(ProtocolFailure([&] { serialShort.GetResult(); }),
              "GetResult: GetQueuedIdWithSerialBinaryProtocol::GetResult called before all response phrases "
              "were added");
    GetQueuedIdWithSerialBinaryProtocol serialShortLast(kFlags);
    RunOn(serialShortLast, serialWith(4, Counting(8, 0x0C)));
    EXPECT_EQ(ProtocolFailure([&] { serialShortLast.GetResult(); }),
              "GetResult: GetQueuedIdWithSerialBinaryProtocol::GetResult called before all response phrases "
              "were added");
    GetQueuedIdWithSerialBinaryProtocol serialNotRun(kFlags);
    EXPECT_NE(ProtocolFailure([&] { serialNotRun.GetResult(); }), "no exception");

    auto featureReplies = FeatureQueuedReplies();
    featureReplies[4].resize(7);
    GetQueuedIdWithFeatureReportProtocol featureShort(kFlags);
    RunOn(featureShort, featureReplies);
    EXPECT_EQ(ProtocolFailure([&] { featureShort.GetResult(); }),
              "GetResult: GetQueuedIdWithFeatureReportProtocol::GetResult called before all response phrases "
              "were added");
    GetQueuedIdWithFeatureReportProtocol featureNotRun(kFlags);
    EXPECT_NE(ProtocolFailure([&] { featureNotRun.GetResult(); }), "no exception");
}
} // namespace
