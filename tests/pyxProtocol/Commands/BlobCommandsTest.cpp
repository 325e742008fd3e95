#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/WithFeatureReportProtocol/GetBlobWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetBlobWithFeatureReportProtocol.h"
#include "TransportException.h"

namespace
{
using namespace PyxProtocol;
using PyxCommon::BlobHeader;
using PyxTest::Bytes;
using PyxTest::ProtocolFailure;
using PyxTest::ScriptedTransport;
using Op = ScriptedTransport::Operation;

BlobHeader Header(std::uint16_t length)
{
    return BlobHeader{.BlobType = 0x07, .SecondByte = 0x02, .DataLength = length, .FifthByte = 0x09};
}

Bytes GetData(std::uint8_t index, std::array<std::uint8_t, 4> data)
{
    return {0x89, 0x10, 0x00, index, data[0], data[1], data[2], data[3]};
}

Bytes SetAck(std::uint8_t index)
{
    return {0x89, 0x90, 0x00, index, 0, 0, 0, 0};
}

TEST(GetBlob, ReadsAHeaderEchoThenOnePhrasePerFourBytes)
{
    ScriptedTransport transport;
    transport.QueueReply({0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x0A, 0x09});
    transport.QueueReply(GetData(1, {1, 2, 3, 4})).QueueReply(GetData(2, {5, 6, 7, 8}));
    transport.QueueReply(GetData(3, {9, 10, 0xEE, 0xEE}));
    GetBlobWithFeatureReportProtocol command(Header(10));
    command.Execute(transport);

    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{
                                           {0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x0A, 0x09},
                                           {0x89, 0x10, 0x00, 0x01, 0, 0, 0, 0},
                                           {0x89, 0x10, 0x00, 0x02, 0, 0, 0, 0},
                                           {0x89, 0x10, 0x00, 0x03, 0, 0, 0, 0},
                                       }));
    EXPECT_EQ(command.ResponsePhraseCount(), 3u);
    command.ValidateResponse();
    // The padding past the data length comes back too.
    EXPECT_EQ(command.GetResult(), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xEE, 0xEE}));
}

TEST(GetBlob, EmptyBlobExchangesOnlyTheHeader)
{
    ScriptedTransport transport;
    transport.QueueReply({0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x00, 0x09});
    GetBlobWithFeatureReportProtocol command(Header(0));
    command.Execute(transport);
    EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
    EXPECT_TRUE(command.GetResult().empty());
    EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }),
              "ValidateResponse: No response has been received from reader");
}

TEST(GetBlob, HeaderEchoThatDiffersStopsBeforeAnyDataPhrase)
{
    for (const Bytes& echo : {Bytes{0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x0B, 0x09},
                              Bytes{0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x0A}, Bytes{}})
    {
        ScriptedTransport transport;
        transport.QueueReply(echo).QueueReply(GetData(1, {}));
        GetBlobWithFeatureReportProtocol command(Header(10));
        EXPECT_EQ(ProtocolFailure([&] { command.Execute(transport); }),
                  "verifyHeader: Header Verification failed");
        EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
    }
}

TEST(GetBlob, DataRepliesMustEchoTheirPhraseNumber)
{
    const std::vector<Bytes> bad[] = {
        {GetData(1, {}), GetData(1, {})},
        {GetData(1, {}), {0x89, 0x10, 0x00, 0x02, 0, 0}},
        {GetData(1, {}), {0x89, 0x90, 0x00, 0x02, 0, 0, 0, 0}},
    };
    for (const auto& replies : bad)
    {
        ScriptedTransport transport;
        transport.QueueReply({0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x08, 0x09}).QueueReplies(replies);
        GetBlobWithFeatureReportProtocol command(Header(8));
        command.Execute(transport);
        EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }),
                  "ValidateResponse: Invalid response packet has been received for GetBlob command");
    }
}

TEST(SetBlob, SendsHeaderPaddedDataAndTheEndPhrase)
{
    ScriptedTransport transport;
    transport.QueueReplies({SetAck(0), SetAck(1), SetAck(2), SetAck(0xFF)});
    SetBlobWithFeatureReportProtocol command(Header(5), {1, 2, 3, 4, 5});
    command.Execute(transport);

    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{
                                           {0x89, 0x90, 0x00, 0x00, 0x07, 0x02, 0x05, 0x09},
                                           {0x89, 0x90, 0x00, 0x01, 1, 2, 3, 4},
                                           {0x89, 0x90, 0x00, 0x02, 5, 0, 0, 0},
                                           {0x89, 0x90, 0x00, 0xFF, 0, 0, 0, 0},
                                       }));
    EXPECT_EQ(transport.CountOf(Op::Receive), 4u);
    command.ValidateResponse();
}

TEST(SetBlob, AcknowledgementsMustEchoEachPhraseAndEndWithFF)
{
    const std::vector<Bytes> bad[] = {
        {SetAck(0), SetAck(1), SetAck(2), SetAck(3)},
        {SetAck(0), SetAck(2), SetAck(2), SetAck(0xFF)},
        {SetAck(0), SetAck(1), {0x89, 0x90, 0x00}, SetAck(0xFF)},
        {SetAck(0), SetAck(1), SetAck(2)},
    };
    for (const auto& replies : bad)
    {
        ScriptedTransport transport;
        transport.QueueReplies(replies);
        SetBlobWithFeatureReportProtocol command(Header(5), {1, 2, 3, 4, 5});
        try
        {
            command.Execute(transport);
        }
        catch (const PyxTransport::TransportException&)
        {
            // The reader fell silent before the last acknowledgement.
        }
        EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }),
                  "ValidateResponse: Invalid ACK data has been received for SetBlob command");
    }
    SetBlobWithFeatureReportProtocol unsent(Header(5), {1, 2, 3, 4, 5});
    EXPECT_EQ(ProtocolFailure([&] { unsent.ValidateResponse(); }),
              "ValidateResponse: No response has been received from reader");
}

TEST(BlobCommands, OnlyTheLowByteOfTheDataLengthIsAnnounced)
{
    ScriptedTransport transport;
    transport.QueueReply({0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x10, 0x09});
    for (std::uint8_t i = 1; i <= 0x44; ++i)
    {
        transport.QueueReply(GetData(i, {}));
    }
    GetBlobWithFeatureReportProtocol command(Header(0x0110));
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted().front(), (Bytes{0x89, 0x10, 0x00, 0x00, 0x07, 0x02, 0x10, 0x09}));
    EXPECT_EQ(transport.CountOf(Op::Transmit), 0x45u);
    command.ValidateResponse();
}

TEST(BlobCommands, LargestBlobNumbersItsPhrasesUpTo254AndLongerOnesAreRefused)
{
    ScriptedTransport transport;
    for (int i = 0; i <= 255; ++i)
    {
        transport.QueueReply(SetAck(static_cast<std::uint8_t>(i)));
    }
    SetBlobWithFeatureReportProtocol command(Header(1016), Bytes(1016, 0x5A));
    command.Execute(transport);
    const auto sent = transport.Transmitted();
    ASSERT_EQ(sent.size(), 256u);
    EXPECT_EQ(sent[254], (Bytes{0x89, 0x90, 0x00, 0xFE, 0x5A, 0x5A, 0x5A, 0x5A}));
    EXPECT_EQ(sent[255], (Bytes{0x89, 0x90, 0x00, 0xFF, 0, 0, 0, 0}));
    command.ValidateResponse();

    // One more byte would need phrase 255, which is the end marker.
    EXPECT_EQ(ProtocolFailure([] { SetBlobWithFeatureReportProtocol(Header(1017), Bytes(1017)); }),
              "SetBlobWithFeatureReportProtocol: Data length exceeds maximum blob size");
    EXPECT_EQ(ProtocolFailure([] { SetBlobWithFeatureReportProtocol(Header(5), Bytes(1017)); }),
              "SetBlobWithFeatureReportProtocol: Data length exceeds maximum blob size");
    EXPECT_EQ(ProtocolFailure([] { GetBlobWithFeatureReportProtocol(Header(1017)); }),
              "GetBlobWithFeatureReportProtocol: Data length exceeds maximum blob size");
    EXPECT_EQ(ProtocolFailure([] { GetBlobWithFeatureReportProtocol(Header(0xFFFF)); }),
              "GetBlobWithFeatureReportProtocol: Data length exceeds maximum blob size");
}
} // namespace
