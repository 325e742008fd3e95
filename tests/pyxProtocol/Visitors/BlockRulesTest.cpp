#include <gtest/gtest.h>

#include <cstdlib>

#include "LogCapture.h"
#include "VisitorFactories.h"
#include "VisitorTestSupport.h"

// The range rules of the five configuration blocks: each checked field at its upper bound passes, one more
// fails with its own name and bounds, and whole-byte fields take any value.
namespace PyxTest
{
namespace
{
using namespace PyxProtocol;

template <typename Block> struct Rule
{
    const char* name;
    std::uint8_t Block::*field;
    int upper;
};

std::string RangeFailure(const std::string& name, int upper)
{
    return "CommandVisitor.h ThrowProtocolExceptionForPropertyOutOfRange: " + name +
           " setting must be between 0 and " + std::to_string(upper) + " inclusive";
}

template <typename Visitor, typename Block> std::string Validate(const Block& block)
{
    Visitor visitor(block);
    return FailureOf([&] { visitor.ValidateArguments(); });
}

template <typename Visitor, typename Block> void CheckEachRule(const std::vector<Rule<Block>>& rules)
{
    for (const Rule<Block>& rule : rules)
    {
        Block block{};
        block.*(rule.field) = static_cast<std::uint8_t>(rule.upper);
        EXPECT_EQ((Validate<Visitor>(block)), "") << rule.name;
        block.*(rule.field) = static_cast<std::uint8_t>(rule.upper + 1);
        EXPECT_EQ((Validate<Visitor>(block)), RangeFailure(rule.name, rule.upper));
        block.*(rule.field) = 0xFF;
        EXPECT_EQ((Validate<Visitor>(block)), RangeFailure(rule.name, rule.upper));
    }
}

#define RULE(Block, Field, Upper)                                                                            \
    {                                                                                                        \
        "ReaderConfigurationBlock" #Block "::" #Field, &ReaderConfigurationBlock##Block::Field, Upper        \
    }

TEST(BlockRules, Block1FieldsFitTheirBits)
{
    CheckEachRule<SetConfigurationBlock1Visitor, ReaderConfigurationBlock1>({
        RULE(1, FacDigitCount, 26),
        RULE(1, IdDigitCount, 26),
        RULE(1, StripLeadingParityCount, 15),
        RULE(1, StripTrailingParityCount, 15),
        RULE(1, UseFixedLengthForFacAndId, 1),
        RULE(1, EnforceExpectedBitCount, 1),
        RULE(1, StripFacFromId, 1),
        RULE(1, SendFacAfterStrippingIt, 1),
        RULE(1, UseIdAndFacDelimiter, 1),
        RULE(1, DisableKeystrokeTerminationCharacter, 1),
        RULE(1, EnableContinuousRead, 1),
        RULE(1, DisableKeystroking, 1),
    });
}

TEST(BlockRules, Block2FieldsFitTheirBits)
{
    CheckEachRule<SetConfigurationBlock2Visitor, ReaderConfigurationBlock2>({
        RULE(2, ___, 1),
        RULE(2, ExtendedPrecisionMath, 1),
        RULE(2, LowercaseHex, 1),
        RULE(2, EmulateProxPro, 1),
        RULE(2, SendIdAsHex, 1),
        RULE(2, SendFacAsHex, 1),
        RULE(2, ExtendFacIdHexCapable, 1),
        RULE(2, UseNumericKeypad, 1),
        RULE(2, ____, 15),
        RULE(2, ReaderSupportsReverseAllBytes, 1),
        RULE(2, ExtendedAscii, 1),
        RULE(2, ExtendedOutputCapable, 1),
        RULE(2, Dravik, 1),
    });
}

TEST(BlockRules, Block3FieldsFitTheirBits)
{
    CheckEachRule<SetConfigurationBlock3Visitor, ReaderConfigurationBlock3>({
        RULE(3, LedRed, 1),
        RULE(3, LedGreen, 1),
        RULE(3, OemRelay, 1),
        RULE(3, OemBeeper, 1),
        RULE(3, UxLed, 1),
        RULE(3, _, 7),
        RULE(3, UseLeadChars, 1),
        RULE(3, LedControlFlag, 1),
        RULE(3, DisplayFormatHex, 1),
        RULE(3, WiegandDataInvert, 1),
        RULE(3, BeepIdValid, 1),
        RULE(3, WiegandBitReverse, 1),
        RULE(3, WiegandByteReverse, 1),
        RULE(3, UseDataInvert, 1),
        RULE(3, LeadingCharCount, 15),
        RULE(3, TrailingCharCount, 15),
    });
}

TEST(BlockRules, Block4FieldsFitTheirBits)
{
    CheckEachRule<SetConfigurationBlock4Visitor, ReaderConfigurationBlock4>({
        RULE(4, LeadingParityBig, 127),
        RULE(4, SplitFixedLength, 1),
        RULE(4, FixedLengthFac, 1),
        RULE(4, FixedLengthId, 1),
        RULE(4, _, 31),
        RULE(4, __, 1),
        RULE(4, HighPrecisionFac, 1),
        RULE(4, ___, 63),
        RULE(4, ____, 1),
        RULE(4, AzertyKeyboardShift, 1),
        RULE(4, _____, 63),
    });
}

TEST(BlockRules, WholeByteFieldsAndBlock5TakeAnyValue)
{
    ReaderConfigurationBlock1 block1{};
    block1.IdBitCount = block1.ExpectedBitCount = block1.IdAndFacDelimiter = block1.TerminationCharacter =
        0xFF;
    EXPECT_EQ(Validate<SetConfigurationBlock1Visitor>(block1), "");
    ReaderConfigurationBlock2 block2{};
    block2._ = block2.__ = block2.DataHoldTime = block2.LockOutTime = block2.KeyPressTime =
        block2.KeyReleaseTime = 0xFF;
    EXPECT_EQ(Validate<SetConfigurationBlock2Visitor>(block2), "");
    ReaderConfigurationBlock3 block3{};
    block3.CardGoneCharacter1 = block3.CardGoneCharacter2 = block3.LeadingTrailingCharacter0 =
        block3.LeadingTrailingCharacter1 = block3.LeadingTrailingCharacter2 = 0xFF;
    EXPECT_EQ(Validate<SetConfigurationBlock3Visitor>(block3), "");
    ReaderConfigurationBlock4 block4{};
    block4.TrailingParityBig = block4.CfgRb3 = block4.CfgRb4 = block4.EnableExtendedMode = 0xFF;
    EXPECT_EQ(Validate<SetConfigurationBlock4Visitor>(block4), "");
    ReaderConfigurationBlock5 block5{0xFF, 0xFFFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Validate<SetConfigurationBlock5Visitor>(block5), "");
}

TEST(BlockRules, OnlyTheFirstFieldOutOfRangeInTableOrderIsReported)
{
    ReaderConfigurationBlock1 block1{};
    block1.DisableKeystroking = 2;
    block1.FacDigitCount = 27;
    EXPECT_EQ(Validate<SetConfigurationBlock1Visitor>(block1),
              RangeFailure("ReaderConfigurationBlock1::FacDigitCount", 26));
    ReaderConfigurationBlock3 block3{};
    block3.TrailingCharCount = 16;
    block3.UseDataInvert = 2;
    EXPECT_EQ(Validate<SetConfigurationBlock3Visitor>(block3),
              RangeFailure("ReaderConfigurationBlock3::UseDataInvert", 1));
}

TEST(BlockRules, RangeFailureRecordsTheHelpersLineAndNothingIsSent)
{
    ReaderConfigurationBlock1 block{};
    block.FacDigitCount = 27;
    SetConfigurationBlock1Visitor visitor(block);
    ScriptedTransport transport;
    try
    {
        Dispatch(On::SerialBinary, visitor, transport);
        FAIL() << "no exception";
    }
    catch (const ProtocolException& e)
    {
        EXPECT_EQ(e.GetMessage(),
                  "ReaderConfigurationBlock1::FacDigitCount setting must be between 0 and 26 inclusive");
        EXPECT_EQ(e.GetLineNumber(), 46);
    }
    EXPECT_TRUE(transport.Calls().empty());
}

TEST(BlockRules, BlockTextIsTracedEvenWhenACheckFails)
{
    ReaderConfigurationBlock3 block{};
    block.LedGreen = 1;
    block.LeadingCharCount = 16;
    std::string text;
    const std::string expected =
        "[PROTOCOL] SetConfigurationBlock3Visitor::ValidateArguments() \n " + block.ToString(text);
    const LogCapture log("PYX_PROTOCOL_LOG_LEVEL", "trace");
    const std::string failure = Validate<SetConfigurationBlock3Visitor>(block);
    EXPECT_EQ(failure, RangeFailure("ReaderConfigurationBlock3::LeadingCharCount", 15));
    EXPECT_NE(log.Text().find(expected), std::string::npos) << log.Text();
}
} // namespace
} // namespace PyxTest
