#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock1WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock3WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock4WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock1WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock3WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock4WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock2WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock3WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock5WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock2WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock3WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock5WithSerialBinaryProtocol.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::ProtocolFailure;
using PyxTest::ScriptedTransport;

template <int N, typename B, typename FrGet, typename FrSet, typename SbGet, typename SbSet>
struct BlockCommands
{
    static constexpr int Number = N;
    using Block = B;
    using FeatureReportGet = FrGet;
    using FeatureReportSet = FrSet;
    using SerialBinaryGet = SbGet;
    using SerialBinarySet = SbSet;
};

using Block1 = BlockCommands<1, ReaderConfigurationBlock1, GetConfigurationBlock1WithFeatureReportProtocol,
                             SetConfigurationBlock1WithFeatureReportProtocol,
                             GetConfigurationBlock1WithSerialBinaryProtocol,
                             SetConfigurationBlock1WithSerialBinaryProtocol>;
using Block2 = BlockCommands<2, ReaderConfigurationBlock2, GetConfigurationBlock2WithFeatureReportProtocol,
                             SetConfigurationBlock2WithFeatureReportProtocol,
                             GetConfigurationBlock2WithSerialBinaryProtocol,
                             SetConfigurationBlock2WithSerialBinaryProtocol>;
using Block3 = BlockCommands<3, ReaderConfigurationBlock3, GetConfigurationBlock3WithFeatureReportProtocol,
                             SetConfigurationBlock3WithFeatureReportProtocol,
                             GetConfigurationBlock3WithSerialBinaryProtocol,
                             SetConfigurationBlock3WithSerialBinaryProtocol>;
using Block4 = BlockCommands<4, ReaderConfigurationBlock4, GetConfigurationBlock4WithFeatureReportProtocol,
                             SetConfigurationBlock4WithFeatureReportProtocol,
                             GetConfigurationBlock4WithSerialBinaryProtocol,
                             SetConfigurationBlock4WithSerialBinaryProtocol>;
using Block5 = BlockCommands<5, ReaderConfigurationBlock5, GetConfigurationBlock5WithFeatureReportProtocol,
                             SetConfigurationBlock5WithFeatureReportProtocol,
                             GetConfigurationBlock5WithSerialBinaryProtocol,
                             SetConfigurationBlock5WithSerialBinaryProtocol>;

template <typename T> class ConfigurationBlockCommands : public ::testing::Test
{
protected:
    static constexpr int N = T::Number;
    static constexpr std::uint8_t kFeatureReportCode = static_cast<std::uint8_t>(0x7F + N);
    static constexpr std::uint8_t kSerialBinaryP1 = static_cast<std::uint8_t>(N - 1);
    // Eight bytes every block decodes and encodes unchanged.
    const Bytes blockBytes{0x5A, 0x34, 0x12, 0xC3, 0x7E, 0x01, 0xF0, 0x99};

    typename T::Block SomeBlock() const { return T::Block::FromVector(blockBytes); }
    static std::string Get() { return "Get Configuration block " + std::to_string(N); }
    static std::string Set() { return "SetConfigurationBlock" + std::to_string(N); }
};
using AllBlocks = ::testing::Types<Block1, Block2, Block3, Block4, Block5>;
TYPED_TEST_SUITE(ConfigurationBlockCommands, AllBlocks);

TYPED_TEST(ConfigurationBlockCommands, FeatureReportGetSendsItsCodeAndDecodesTheReplyAsTheBlock)
{
    ScriptedTransport transport;
    transport.QueueReply(this->blockBytes);
    typename TypeParam::FeatureReportGet command;
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{this->kFeatureReportCode, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(transport.ReceiveLengths(), (std::vector<std::uint16_t>{8}));
    EXPECT_EQ(TypeParam::Block::ToVector(command.GetResult()), this->blockBytes);
}

TYPED_TEST(ConfigurationBlockCommands, FeatureReportGetRefusesAMissingOrShortReply)
{
    const std::string empty = "GetResult: " + this->Get() + " command response was empty.";
    const std::string shorter = "GetResult: " + this->Get() + " command response was shorter than 8 bytes.";
    typename TypeParam::FeatureReportGet notRun;
    EXPECT_EQ(ProtocolFailure([&] { notRun.GetResult(); }), empty);
    for (const auto& [reply, message] : {std::pair{Bytes{}, empty}, std::pair{Bytes(7, 0x11), shorter}})
    {
        ScriptedTransport transport;
        transport.QueueReply(reply);
        typename TypeParam::FeatureReportGet command;
        command.Execute(transport);
        EXPECT_EQ(ProtocolFailure([&] { command.GetResult(); }), message);
    }
}

TYPED_TEST(ConfigurationBlockCommands, FeatureReportSetSendsCodeThenBlockAndReadsNothing)
{
    ScriptedTransport transport;
    typename TypeParam::FeatureReportSet command(this->SomeBlock());
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(),
              (std::vector<Bytes>{{this->kFeatureReportCode, 0, 0, 0, 0, 0, 0, 0}, this->blockBytes}));
    EXPECT_EQ(transport.CountOf(ScriptedTransport::Operation::Receive), 0u);
    EXPECT_EQ(command.ResponsePhraseCount(), 0u);
}

TYPED_TEST(ConfigurationBlockCommands, SerialBinaryGetReadsTheBlockBetweenEchoAndStatus)
{
    Bytes reply{0x01};
    reply.insert(reply.end(), this->blockBytes.begin(), this->blockBytes.end());
    reply.insert(reply.end(), {0x90, 0x00});
    ScriptedTransport transport;
    transport.QueueReply(reply);
    typename TypeParam::SerialBinaryGet command;
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{0xFA, 0x01, this->kSerialBinaryP1, 0x00, 0x08}}));
    command.ValidateResponse();
    EXPECT_EQ(TypeParam::Block::ToVector(command.GetResult()), this->blockBytes);
}

TYPED_TEST(ConfigurationBlockCommands, SerialBinaryGetFailures)
{
    const std::string invalid = "Invalid ACK data received from reader after " + this->Get() + " command";
    typename TypeParam::SerialBinaryGet notRun;
    EXPECT_EQ(ProtocolFailure([&] { notRun.GetResult(); }),
              "GetResult: " + this->Get() + " command response was empty.");

    const Bytes good{0x01, 1, 2, 3, 4, 5, 6, 7, 8, 0x90, 0x00};
    PyxTest::ExpectValidation(
        [] { return typename TypeParam::SerialBinaryGet(); },
        {PyxTest::NotRun("ValidateResponse: Attempted to get result of " + this->Get() +
                         " before all responses were received"),
         {"empty", {}, "ValidateResponse: " + this->Get() + " command response was empty."},
         {"status 90 01", {0x01, 1, 2, 3, 4, 5, 6, 7, 8, 0x90, 0x01}, "ValidateResponse: " + invalid},
         {"echo of the write instruction",
          {0x81, 1, 2, 3, 4, 5, 6, 7, 8, 0x90, 0x00},
          "ValidateResponse: " + invalid},
         {"error status alone", {0x6A, 0x82}, "ValidateResponse: " + invalid},
         {"cut before the last status byte", Bytes(good.begin(), good.end() - 1),
          "ValidateResponse: " + invalid}});
    // Decoding on its own still refuses a reply too short to hold the block.
    ScriptedTransport transport;
    transport.QueueReply({0x01, 1, 2, 3, 4, 5, 6, 7});
    typename TypeParam::SerialBinaryGet command;
    command.Execute(transport);
    EXPECT_EQ(ProtocolFailure([&] { command.GetResult(); }), "GetResult: " + invalid);
}

TYPED_TEST(ConfigurationBlockCommands, SerialBinarySetSendsHeaderAndBlockInOnePhrase)
{
    ScriptedTransport transport;
    transport.QueueReply({0x81, 0x90, 0x00});
    typename TypeParam::SerialBinarySet command(this->SomeBlock());
    command.Execute(transport);
    Bytes expected{0xFA, 0x81, this->kSerialBinaryP1, 0x00, 0x08};
    expected.insert(expected.end(), this->blockBytes.begin(), this->blockBytes.end());
    EXPECT_EQ(transport.Transmitted(), std::vector<Bytes>{expected});
    EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }), "no exception");
}

TYPED_TEST(ConfigurationBlockCommands, SerialBinarySetFailures)
{
    const std::string invalid =
        "ValidateResponse: Invalid ACK data received from reader after " + this->Set() + " command";
    PyxTest::ExpectValidation(
        [this] { return typename TypeParam::SerialBinarySet(this->SomeBlock()); },
        {PyxTest::NotRun("ValidateResponse: Attempted to get result of " + this->Set() +
                         " before all responses were received"),
         {"empty", {}, "ValidateResponse: " + this->Set() + " command response was empty."},
         {"echo of the read instruction", {0x01, 0x90, 0x00}, invalid},
         {"error status", {0x81, 0x6B, 0x00}, invalid},
         {"cut after SW1", {0x81, 0x90}, invalid}});
}

TEST(ConfigurationBlockCommandExamples, FeatureReportSetOfBlock1SendsTheEncodedBlock)
{
    const Bytes encoded{0x1A, 0x1A, 0xF3, 0x20, 0x28, 0x2C, 0x0D, 0x81};
    ScriptedTransport transport;
    SetConfigurationBlock1WithFeatureReportProtocol command(ReaderConfigurationBlock1::FromVector(encoded));
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{0x80, 0, 0, 0, 0, 0, 0, 0}, encoded}));
    EXPECT_EQ(transport.CountOf(ScriptedTransport::Operation::Receive), 0u);
}

TEST(ConfigurationBlockCommandExamples, SerialBinarySetOfBlock2CarriesTimesAndFlags)
{
    ReaderConfigurationBlock2 block;
    block.DataHoldTime = 20;
    block.LockOutTime = 10;
    block.KeyPressTime = 25;
    block.KeyReleaseTime = 25;
    block.ExtendedPrecisionMath = 1;
    block.ReaderSupportsReverseAllBytes = 1;
    ScriptedTransport transport;
    transport.QueueReply({0x81, 0x90, 0x00});
    SetConfigurationBlock2WithSerialBinaryProtocol command(block);
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{0xFA, 0x81, 0x01, 0x00, 0x08, 0x00, 0x00, 0x14,
                                                            0x0A, 0x19, 0x19, 0x02, 0x10}}));
    command.ValidateResponse();
}

TEST(ConfigurationBlockCommandExamples, SerialBinaryGetOfBlock5DecodesTheCardType)
{
    ScriptedTransport transport;
    transport.QueueReply({0x01, 0x01, 0x34, 0x12, 0x05, 0x2A, 0x03, 0x00, 0xFF, 0x90, 0x00});
    GetConfigurationBlock5WithSerialBinaryProtocol command;
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{0xFA, 0x01, 0x04, 0x00, 0x08}}));
    command.ValidateResponse();
    EXPECT_EQ(command.GetResult().CardType, 4660);
}

TEST(ConfigurationBlockCommandExamples, FailuresNameTheCommandsOwnSourceFile)
{
    ScriptedTransport transport;
    transport.QueueReply({});
    SetConfigurationBlock4WithSerialBinaryProtocol command(ReaderConfigurationBlock4{});
    command.Execute(transport);
    try
    {
        command.ValidateResponse();
        FAIL() << "no exception";
    }
    catch (const ProtocolException& e)
    {
        EXPECT_EQ(e.GetMessage(), "SetConfigurationBlock4 command response was empty.");
        EXPECT_EQ(e.GetFileName(), "SetConfigurationBlock4WithSerialBinaryProtocol.cpp");
        EXPECT_EQ(e.GetFunctionName(), "ValidateResponse");
        EXPECT_EQ(e.GetExceptionType(), "TessmarException");
    }
}
} // namespace
