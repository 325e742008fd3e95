#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/WithFeatureReportProtocol/GetExtendedConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetExtendedConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetExtendedConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetExtendedConfigurationWithSerialBinaryProtocol.h"

namespace
{
using namespace PyxProtocol;
using PyxCommon::ExtendedConfiguration;
using PyxCommon::HashData;
using PyxTest::Bytes;
using PyxTest::ProtocolFailure;
using PyxTest::ScriptedTransport;
using Op = ScriptedTransport::Operation;

// Four field entries and two separators, as a reader would hold them.
ExtendedConfiguration Sample()
{
    ExtendedConfiguration c;
    c.FieldSeparatorDataHeader = {.Version = 1,
                                  .HeaderSize = 4,
                                  .FieldEntrySize = 4,
                                  .FieldEntryCount = 4,
                                  .SeparatorEntrySize = 2,
                                  .SeparatorEntryCount = 2,
                                  .MaxStorageSize = 16};
    for (std::uint8_t i = 0; i < 4; ++i)
    {
        c.FieldEntries[i].FieldValid = 1;
        c.FieldEntries[i].StartingBitPosition = static_cast<std::uint8_t>(8 * i);
        c.FieldEntries[i].BitCountOfField = 8;
    }
    for (std::uint8_t i = 0; i < 2; ++i)
    {
        c.SeparatorEntries[i].SeparatorValid = 1;
        c.SeparatorEntries[i].CharacterSize = 1;
        c.SeparatorEntries[i].VirtualCharacterCount = 1;
        c.SeparatorEntries[i].ByteOffset = static_cast<std::uint8_t>(i + 1);
        c.SeparatorEntries[i].SeparatorCharacters[0].USBKeyScanCode = static_cast<std::uint8_t>(0x2C + i);
    }
    c.ApplicationData.MaxBitCount = 32;
    return c;
}

HashData Hash(std::uint8_t state, std::uint8_t first, std::uint8_t second)
{
    HashData hash;
    for (std::uint8_t i = 0; i < 16; ++i)
    {
        hash.HashValue1[i] = first == 0 ? 0 : static_cast<std::uint8_t>(first + i);
        hash.HashValue2[i] = second == 0 ? 0 : static_cast<std::uint8_t>(second + i);
    }
    hash.EnhanceSecurityFirmwareState = state;
    return hash;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
            bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

std::vector<Bytes> Chunks(const Bytes& block)
{
    std::vector<Bytes> chunks;
    for (std::size_t at = 0; at < block.size(); at += 8)
    {
        chunks.push_back(Slice(block, at, 8));
    }
    return chunks;
}

TEST(GetExtendedConfigurationFeatureReport, ReadsAsManyChunksAsTheHeaderAnnounces)
{
    const Bytes block = Sample().ToVector();
    ASSERT_EQ(Slice(block, 0, 4), (Bytes{0x14, 0x44, 0x22, 0x10}));
    ScriptedTransport transport;
    transport.QueueReplies(Chunks(block));
    GetExtendedConfigurationWithFeatureReportProtocol command;
    command.Execute(transport);

    std::vector<Bytes> expected;
    for (std::uint8_t k = 0; k < 16; ++k)
    {
        expected.push_back({0x85, k, 0x00, 0x10, 0, 0, 0, 0});
    }
    EXPECT_EQ(transport.Transmitted(), expected);
    command.ValidateResponse();
    EXPECT_EQ(command.GetResult().ToVector(), block);
}

TEST(GetExtendedConfigurationFeatureReport, BadHeaderStopsTheReadAtTheFirstReply)
{
    struct Case
    {
        Bytes first;
        const char* failure;
    } const cases[] = {
        {{0x14, 0x44, 0x22, 0x08, 0, 0, 0, 0},
         "validateAndParseHeaderResponse: Invalid Header data received from reader while executing "
         "GetExtendedConfiguration command"},
        {{0x04, 0x44, 0x22, 0x10, 0, 0, 0, 0},
         "validateAndParseHeaderResponse: Invalid Header data received from reader while executing "
         "GetExtendedConfiguration command"},
        {{0x14, 0x64, 0x22, 0x10, 0, 0, 0, 0},
         "validateAndParseHeaderResponse: Invalid Header data received from reader while executing "
         "GetExtendedConfiguration command"},
        {{0x14, 0x44, 0x22, 0x10, 0, 0, 0},
         "validateAndParseHeaderResponse: Invalid Header response received from reader while executing "
         "GetExtendedConfiguration command"},
        {{},
         "validateAndParseHeaderResponse: Invalid Header response received from reader while executing "
         "GetExtendedConfiguration command"},
    };
    for (const auto& c : cases)
    {
        ScriptedTransport transport;
        transport.QueueReply(c.first).QueueReply(Bytes(8));
        GetExtendedConfigurationWithFeatureReportProtocol command;
        EXPECT_EQ(ProtocolFailure([&] { command.Execute(transport); }), c.failure);
        EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
    }
}

TEST(GetExtendedConfigurationFeatureReport, EveryChunkMustBeWhole)
{
    auto chunks = Chunks(Sample().ToVector());
    chunks[9].pop_back();
    ScriptedTransport transport;
    transport.QueueReplies(chunks);
    GetExtendedConfigurationWithFeatureReportProtocol command;
    command.Execute(transport);
    EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }),
              "ValidateResponse: Invalid response phrase received from reader while executing "
              "GetExtendedConfiguration command");
    EXPECT_EQ(ProtocolFailure([&] { command.GetResult(); }),
              "ValidateResponse: Invalid response phrase received from reader while executing "
              "GetExtendedConfiguration command");

    GetExtendedConfigurationWithFeatureReportProtocol unsent;
    EXPECT_EQ(ProtocolFailure([&] { unsent.ValidateResponse(); }),
              "ValidateResponse: Invalid response has been received from reader while executing "
              "GetExtendedConfiguration command");
}

TEST(GetExtendedConfigurationSerialBinary, ReadsTheHeaderThenTheWholeBlock)
{
    const Bytes block = Sample().ToVector();
    Bytes headerReply{0x0A};
    headerReply.insert(headerReply.end(), block.begin(), block.begin() + 8);
    headerReply.insert(headerReply.end(), {0x90, 0x00});
    Bytes dataReply{0x0A};
    dataReply.insert(dataReply.end(), block.begin(), block.end());
    dataReply.insert(dataReply.end(), {0x90, 0x00});

    ScriptedTransport transport;
    transport.QueueReply(headerReply).QueueReply(dataReply);
    GetExtendedConfigurationWithSerialBinaryProtocol command;
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(),
              (std::vector<Bytes>{{0xFA, 0x0A, 0x00, 0x00, 0x08}, {0xFA, 0x0A, 0x00, 0x00, 0x80}}));
    EXPECT_EQ(command.ResponsePhraseCount(), 1u);
    command.ValidateResponse();
    EXPECT_EQ(command.GetResult().ToVector(), block);
}

TEST(GetExtendedConfigurationSerialBinary, RepliesAreCheckedForLengthAndStatus)
{
    const Bytes block = Sample().ToVector();
    Bytes goodHeader{0x0A};
    goodHeader.insert(goodHeader.end(), block.begin(), block.begin() + 8);
    goodHeader.insert(goodHeader.end(), {0x90, 0x00});
    Bytes goodData{0x0A};
    goodData.insert(goodData.end(), block.begin(), block.end());
    goodData.insert(goodData.end(), {0x90, 0x00});

    const char* badAck =
        "validateAndParseHeaderResponse: Invalid ACK data received from reader for Data header while "
        "executing GetExtendedConfiguration command";
    const char* badData =
        "ValidateResponse: Invalid ACK data received from reader after GetExtendedConfiguration command";
    Bytes headerFailing = goodHeader;
    headerFailing[10] = 0x01;
    Bytes badVersion = goodHeader;
    badVersion[1] = 0x04;
    Bytes dataFailing = goodData;
    dataFailing[129] = 0x6A;
    Bytes dataShort = goodData;
    dataShort.erase(dataShort.begin() + 5);

    struct Case
    {
        Bytes header;
        Bytes data;
        const char* executeFailure;
        const char* validateFailure;
    } const cases[] = {
        {{0x6D, 0x00}, goodData, badAck, nullptr},
        {headerFailing, goodData, badAck, nullptr},
        {Slice(goodHeader, 0, 10), goodData, badAck, nullptr},
        {badVersion, goodData,
         "validateAndParseHeaderResponse: Invalid Header data received from reader while executing "
         "GetExtendedConfiguration command",
         nullptr},
        {goodHeader, dataFailing, nullptr, badData},
        {goodHeader, dataShort, nullptr, badData},
        {goodHeader, {0x67, 0x00}, nullptr, badData},
        {goodHeader,
         {},
         nullptr,
         "ValidateResponse: Empty response has been received from reader for GetExtendedConfiguration "
         "command"},
    };
    for (const auto& c : cases)
    {
        ScriptedTransport transport;
        transport.QueueReply(c.header).QueueReply(c.data);
        GetExtendedConfigurationWithSerialBinaryProtocol command;
        if (c.executeFailure != nullptr)
        {
            EXPECT_EQ(ProtocolFailure([&] { command.Execute(transport); }), c.executeFailure);
            EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
            continue;
        }
        command.Execute(transport);
        EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }), c.validateFailure);
    }
}

// The phrases of a FeatureReport write: announcing header, then 8 bytes, per chunk.
std::vector<Bytes> Announced(std::uint8_t target0, std::uint8_t target1, const Bytes& data)
{
    std::vector<Bytes> phrases;
    for (std::size_t chunk = 0; chunk * 8 < data.size(); ++chunk)
    {
        phrases.push_back({0x85, static_cast<std::uint8_t>(chunk), target0, target1, 0, 0, 0, 0});
        phrases.push_back(Slice(data, chunk * 8, 8));
    }
    return phrases;
}

Bytes Value(const std::array<std::uint8_t, 16>& value)
{
    return {value.begin(), value.end()};
}

TEST(SetExtendedConfigurationFeatureReport, HashValuesFollowTheBlockWhenTheSecurityStateAsks)
{
    const Bytes block = Sample().ToVector();
    struct Case
    {
        const char* name;
        HashData hash;
        bool first;
        bool second;
    } const cases[] = {
        {"no values", Hash(0, 0, 0), false, false},
        {"enhanced security sends both, zero or not", Hash(1, 0, 0), true, true},
        {"a non-zero first value", Hash(0, 0x40, 0), true, false},
        {"a non-zero second value", Hash(0, 0, 0x60), false, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScriptedTransport transport;
        SetExtendedConfigurationWithFeatureReportProtocol command(Sample(), c.hash);
        command.Execute(transport);

        std::vector<Bytes> expected = Announced(0x00, 0x10, block);
        if (c.first)
        {
            const auto phrases = Announced(0x01, 0x00, Value(c.hash.HashValue1));
            expected.insert(expected.end(), phrases.begin(), phrases.end());
        }
        if (c.second)
        {
            const auto phrases = Announced(0x11, 0x00, Value(c.hash.HashValue2));
            expected.insert(expected.end(), phrases.begin(), phrases.end());
        }
        EXPECT_EQ(transport.Transmitted(), expected);
        EXPECT_EQ(transport.CountOf(Op::Receive), 0u);
        EXPECT_EQ(ProtocolFailure([&] { command.NextCommandPhrase(); }),
                  "NextCommandPhrase: More command phrases requested than available data to send");
    }
}

TEST(SetExtendedConfigurationFeatureReport, EnhancedSecuritySendsFortyPhrases)
{
    ScriptedTransport transport;
    SetExtendedConfigurationWithFeatureReportProtocol command(Sample(), Hash(1, 0, 0));
    command.Execute(transport);
    const auto sent = transport.Transmitted();
    ASSERT_EQ(sent.size(), 40u);
    const std::vector<Bytes> last(sent.end() - 8, sent.end());
    EXPECT_EQ(last, (std::vector<Bytes>{{0x85, 0, 0x01, 0, 0, 0, 0, 0},
                                        Bytes(8),
                                        {0x85, 1, 0x01, 0, 0, 0, 0, 0},
                                        Bytes(8),
                                        {0x85, 0, 0x11, 0, 0, 0, 0, 0},
                                        Bytes(8),
                                        {0x85, 1, 0x11, 0, 0, 0, 0, 0},
                                        Bytes(8)}));
}

TEST(SetExtendedConfigurationFeatureReport, StorageSizeBeyondTheBlockIsRefused)
{
    ExtendedConfiguration c = Sample();
    c.FieldSeparatorDataHeader.MaxStorageSize = 17;
    EXPECT_EQ(ProtocolFailure([&] { SetExtendedConfigurationWithFeatureReportProtocol(c, Hash(0, 0, 0)); }),
              "SetExtendedConfigurationWithFeatureReportProtocol: Extended configuration is smaller than its "
              "maximum storage size");
}

TEST(SetExtendedConfigurationSerialBinary, SendsTheBlockThenEachValueInItsOwnPhrase)
{
    const Bytes block = Sample().ToVector();
    const HashData hash = Hash(0, 0, 0x60);
    ScriptedTransport transport;
    transport.QueueReply({0x8A, 0x90, 0x00}).QueueReply({0x8A, 0x90, 0x00});
    SetExtendedConfigurationWithSerialBinaryProtocol command(Sample(), hash);
    command.Execute(transport);

    Bytes first{0xFA, 0x8A, 0x00, 0x00, 0x80};
    first.insert(first.end(), block.begin(), block.end());
    Bytes second{0xFA, 0x8A, 0x00, 0x11, 0x10};
    second.insert(second.end(), hash.HashValue2.begin(), hash.HashValue2.end());
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{first, second}));
    command.ValidateResponse();

    SetExtendedConfigurationWithSerialBinaryProtocol both(Sample(), Hash(1, 0x40, 0));
    ScriptedTransport three;
    three.QueueReplies({{0x8A, 0x90, 0x00}, {0x8A, 0x90, 0x00}, {0x8A, 0x90, 0x00}});
    both.Execute(three);
    const auto sent = three.Transmitted();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(Slice(sent[1], 0, 6), (Bytes{0xFA, 0x8A, 0x00, 0x01, 0x10, 0x40}));
    EXPECT_EQ(Slice(sent[2], 0, 6), (Bytes{0xFA, 0x8A, 0x00, 0x11, 0x10, 0x00}));
}

TEST(SetExtendedConfigurationSerialBinary, EveryPhraseNeedsItsAcknowledgement)
{
    struct Case
    {
        std::vector<Bytes> replies;
        const char* failure;
    } const cases[] = {
        {{{0x8A, 0x90, 0x00}, {0x8A, 0x6B, 0x00}},
         "ValidateResponse: Invalid ACK data received from reader after SetExtendedConfiguration command"},
        {{{0x8A, 0x90, 0x00}, {0x8A, 0x90, 0x00, 0x00}},
         "ValidateResponse: Invalid ACK data received from reader after SetExtendedConfiguration command"},
        {{{0x8A, 0x90, 0x00}},
         "ValidateResponse: No response has been received from reader after SetExtendedConfiguration "
         "command"},
        {{},
         "ValidateResponse: No response has been received from reader after SetExtendedConfiguration "
         "command"},
    };
    for (const auto& c : cases)
    {
        ScriptedTransport transport;
        transport.QueueReplies(c.replies);
        SetExtendedConfigurationWithSerialBinaryProtocol command(Sample(), Hash(0, 0, 0x60));
        try
        {
            command.Execute(transport);
        }
        catch (const std::exception&)
        {
            // The reader fell silent.
        }
        EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }), c.failure);
    }
}
} // namespace
