#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Configuration/ReaderConfiguration.h"
#include "ProtocolException.h"

namespace
{
using Bytes = std::vector<std::uint8_t>;
using namespace PyxProtocol;

template <typename Block> Bytes RoundTrip(const Bytes& bytes)
{
    return Block::ToVector(Block::FromVector(bytes));
}

template <typename Block> std::string Text(const Block& block)
{
    std::string text;
    return block.ToString(text);
}

template <typename Block> class EveryBlock : public ::testing::Test
{
};
using BlockTypes =
    ::testing::Types<ReaderConfigurationBlock1, ReaderConfigurationBlock2, ReaderConfigurationBlock3,
                     ReaderConfigurationBlock4, ReaderConfigurationBlock5>;
TYPED_TEST_SUITE(EveryBlock, BlockTypes);

// Every bit belongs to exactly one member, so decoding and encoding again must give back any 8 bytes:
// each byte position is swept through all 256 values against two backgrounds, then a long pseudo-random run.
TYPED_TEST(EveryBlock, DecodeThenEncodeGivesBackAnyBytes)
{
    for (std::uint8_t background : {std::uint8_t{0x00}, std::uint8_t{0xA5}})
    {
        for (std::size_t position = 0; position < 8; ++position)
        {
            for (unsigned value = 0; value < 256; ++value)
            {
                Bytes bytes(8, background);
                bytes[position] = static_cast<std::uint8_t>(value);
                ASSERT_EQ(RoundTrip<TypeParam>(bytes), bytes) << "byte " << position << " value " << value;
            }
        }
    }
    std::uint32_t state = 12345;
    for (int i = 0; i < 20000; ++i)
    {
        Bytes bytes(8);
        for (auto& byte : bytes)
        {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(state >> 24);
        }
        ASSERT_EQ(RoundTrip<TypeParam>(bytes), bytes);
    }
}

// A decoded block holds only in-range values, so encoding it and decoding again gives the same record.
TYPED_TEST(EveryBlock, EncodeThenDecodeGivesBackADecodedBlock)
{
    for (unsigned value = 0; value < 256; ++value)
    {
        const Bytes bytes(8, static_cast<std::uint8_t>(value));
        const TypeParam block = TypeParam::FromVector(bytes);
        EXPECT_EQ(TypeParam::FromVector(TypeParam::ToVector(block)), block);
    }
}

TYPED_TEST(EveryBlock, FewerThanEightBytesAreRefused)
{
    for (std::size_t size : {0u, 1u, 7u})
    {
        try
        {
            TypeParam::FromVector(Bytes(size, 0xFF));
            ADD_FAILURE() << size << " bytes accepted";
        }
        catch (const PyxProtocol::ProtocolException& e)
        {
            EXPECT_THAT(e.GetMessage(),
                        ::testing::MatchesRegex("ReaderConfigurationBlock[1-5] needs 8 bytes but was given " +
                                                std::to_string(size)));
            EXPECT_EQ(e.GetFunctionName(), "FromVector");
        }
    }
}

TYPED_TEST(EveryBlock, OnlyTheFirstEightBytesOfALongerVectorAreRead)
{
    const Bytes bytes{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA};
    EXPECT_EQ(TypeParam::ToVector(TypeParam::FromVector(bytes)), Bytes(bytes.begin(), bytes.begin() + 8));
}

TYPED_TEST(EveryBlock, ToStringAppendsToTheGivenTextAndReturnsTheWhole)
{
    const TypeParam block{};
    std::string text = "prefix\n";
    const std::string result = block.ToString(text);
    EXPECT_EQ(result, "prefix\n" + Text(block));
    EXPECT_EQ(text, result);
}

TEST(ReaderConfigurationBlocks, AllZeroBlocksEncodeToZeroBytesAndPrintEveryLabelWithZero)
{
    const Bytes zeros(8, 0);
    EXPECT_EQ(ReaderConfigurationBlock1::ToVector({}), zeros);
    EXPECT_EQ(ReaderConfigurationBlock2::ToVector({}), zeros);
    EXPECT_EQ(ReaderConfigurationBlock3::ToVector({}), zeros);
    EXPECT_EQ(ReaderConfigurationBlock4::ToVector({}), zeros);
    EXPECT_EQ(ReaderConfigurationBlock5::ToVector({}), zeros);

    EXPECT_EQ(Text(ReaderConfigurationBlock1{}), "FAC Digit Count: 0\n"
                                                 "ID Digit Count: 0\n"
                                                 "Strip Leading Parity Count: 0\n"
                                                 "Strip Trailing Parity Count: 0\n"
                                                 "ID Bit Count: 0\n"
                                                 "Expected Bit Count: 0\n"
                                                 "ID and FAC Delimiter: 0\n"
                                                 "Termination Character: 0\n"
                                                 "Use Fixed Length for FAC and ID: 0\n"
                                                 "Enforce Expected Bit Count: 0\n"
                                                 "Strip FAC from ID: 0\n"
                                                 "Send FAC after Stripping It: 0\n"
                                                 "Use ID and FAC Delimiter: 0\n"
                                                 "Disable Keystroke Termination Character: 0\n"
                                                 "Enable Continuous Read: 0\n"
                                                 "Disable Keystroking: 0\n");
    EXPECT_EQ(Text(ReaderConfigurationBlock2{}), "DataHoldTime: 0\n"
                                                 "LockOutTime: 0\n"
                                                 "KeyPressTime: 0\n"
                                                 "KeyReleaseTime: 0\n"
                                                 "EnableIdExtendedPrecision: 0\n"
                                                 "UseLowercaseHex: 0\n"
                                                 "EnableProxProEmulation: 0\n"
                                                 "EnableHexadecimalId: 0\n"
                                                 "EnableHexadecimalFac: 0\n"
                                                 "UseIndividualIdAndFacNumberFormats: 0\n"
                                                 "UseNumericKeypad: 0\n"
                                                 "ReaderSupportsReverseAllBytes: 0\n"
                                                 "ReaderSupportsAsciiExtended: 0\n"
                                                 "ReaderSupportsExtendedMode: 0\n"
                                                 "EnableDravikMode: 0\n");
    EXPECT_EQ(Text(ReaderConfigurationBlock3{}), "EnableRedLed: 0\n"
                                                 "EnableGreenLed: 0\n"
                                                 "EnableOemRelay: 0\n"
                                                 "EnableOemBeeper: 0\n"
                                                 "UxLed: 0\n"
                                                 "_: 0\n"
                                                 "UseLeadingCharacters: 0\n"
                                                 "EnabledSoftwareControlledLed: 0\n"
                                                 "UseHexadecimalForBothFacAndId: 0\n"
                                                 "InvertWiegandBits: 0\n"
                                                 "EnableBeepOnCardRead: 0\n"
                                                 "ReverseWiegandBits: 0\n"
                                                 "ReverseWiegandBytes: 0\n"
                                                 "UseDataInvert: 0\n"
                                                 "CardGoneCharacter1: 0\n"
                                                 "CardGoneCharacter2: 0\n"
                                                 "LeadingCharacterCount: 0\n"
                                                 "TrailingCharacterCount: 0\n"
                                                 "LeadingTrailingCharacter0: 0\n"
                                                 "LeadingTrailingCharacter1: 0\n"
                                                 "LeadingTrailingCharacter2: 0\n");
    EXPECT_EQ(Text(ReaderConfigurationBlock4{}), "LargeStripLeadingParityCount: 0\n"
                                                 "LargeStripTrailingParityCount: 0\n"
                                                 "UseIndividualIdAndFacFixedLengths: 0\n"
                                                 "UseFixedLengthFac: 0\n"
                                                 "UseFixedLengthId: 0\n"
                                                 "_: 0\n"
                                                 "CfgRb3: 0\n"
                                                 "CfgRb4: 0\n"
                                                 "__: 0\n"
                                                 "EnableFacExtendedPrecision: 0\n"
                                                 "___: 0\n"
                                                 "____: 0\n"
                                                 "AzertyKeyboardShift: 0\n"
                                                 "_____: 0\n"
                                                 "EnableExtendedMode: 0\n");
    EXPECT_EQ(Text(ReaderConfigurationBlock5{}), "DisableCardConfiguration: 0\n"
                                                 "CardType: 0\n"
                                                 "SetHighPriorityCardType: 0\n"
                                                 "QuorvaneCompatibilityCharacter: 0\n"
                                                 "QuorvaneCharacterCount: 0\n"
                                                 "_: 0\n"
                                                 "__: 0\n");
}

TEST(ReaderConfigurationBlocks, Block1DecodesCountsCharactersAndFlags)
{
    const auto block =
        ReaderConfigurationBlock1::FromVector({0x1A, 0x1A, 0xF3, 0x20, 0x28, 0x2C, 0x0D, 0x81});
    ReaderConfigurationBlock1 expected;
    expected.FacDigitCount = 26;
    expected.IdDigitCount = 26;
    expected.StripLeadingParityCount = 3;
    expected.StripTrailingParityCount = 15;
    expected.IdBitCount = 32;
    expected.ExpectedBitCount = 40;
    expected.IdAndFacDelimiter = 44;
    expected.TerminationCharacter = 13;
    expected.UseFixedLengthForFacAndId = 1;
    expected.DisableKeystroking = 1;
    EXPECT_EQ(block, expected);
    EXPECT_THAT(Text(block), ::testing::StartsWith("FAC Digit Count: 26\nID Digit Count: 26\nS"));
}

TEST(ReaderConfigurationBlocks, Block1FlagsSitInByte7FromBit0Upward)
{
    ReaderConfigurationBlock1 block;
    block.EnforceExpectedBitCount = 1;
    block.SendFacAfterStrippingIt = 1;
    block.DisableKeystrokeTerminationCharacter = 1;
    block.EnableContinuousRead = 1;
    EXPECT_EQ(ReaderConfigurationBlock1::ToVector(block), (Bytes{0, 0, 0, 0, 0, 0, 0, 0x6A}));
}

TEST(ReaderConfigurationBlocks, Block3SplitsByte0IntoFiveFlagsAndAThreeBitField)
{
    const auto block = ReaderConfigurationBlock3::FromVector({0xE5, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(block.LedRed, 1);
    EXPECT_EQ(block.LedGreen, 0);
    EXPECT_EQ(block.OemRelay, 1);
    EXPECT_EQ(block.OemBeeper, 0);
    EXPECT_EQ(block.UxLed, 0);
    EXPECT_EQ(block._, 7);
    EXPECT_THAT(Text(block), ::testing::StartsWith(
                                 "EnableRedLed: 1\nEnableGreenLed: 0\nEnableOemRelay: 1\nEnableOemBeeper: 0\n"
                                 "UxLed"));
}

TEST(ReaderConfigurationBlocks, Block3CharacterCountsShareByte4)
{
    ReaderConfigurationBlock3 block;
    block.LeadingCharCount = 0x0C;
    block.TrailingCharCount = 0x03;
    block.CardGoneCharacter2 = 0x7F;
    block.LeadingTrailingCharacter2 = 0xFF;
    EXPECT_EQ(ReaderConfigurationBlock3::ToVector(block), (Bytes{0, 0, 0, 0x7F, 0x3C, 0, 0, 0xFF}));
}

TEST(ReaderConfigurationBlocks, Block4SplitsByte5IntoTwoFlagsAndASixBitField)
{
    const auto block = ReaderConfigurationBlock4::FromVector({0, 0, 0, 0, 0, 0xFE, 0, 0});
    EXPECT_EQ(block.__, 0);
    EXPECT_EQ(block.HighPrecisionFac, 1);
    EXPECT_EQ(block.___, 63);
}

TEST(ReaderConfigurationBlocks, Block4PacksItsBitGroups)
{
    ReaderConfigurationBlock4 block;
    block.LeadingParityBig = 127;
    block.TrailingParityBig = 200;
    block.FixedLengthId = 1;
    block._ = 31;
    block.____ = 1;
    block._____ = 1;
    block.EnableExtendedMode = 0x5A;
    EXPECT_EQ(ReaderConfigurationBlock4::ToVector(block), (Bytes{0x7F, 0xC8, 0xFC, 0, 0, 0, 0x05, 0x5A}));
}

TEST(ReaderConfigurationBlocks, Block5CarriesTheCardTypeLowByteFirst)
{
    const Bytes bytes{0x01, 0x34, 0x12, 0x05, 0x2A, 0x03, 0x00, 0xFF};
    const auto block = ReaderConfigurationBlock5::FromVector(bytes);
    EXPECT_EQ(block.DisableCardConfiguration, 1);
    EXPECT_EQ(block.CardType, 4660);
    EXPECT_EQ(block.SetHighPriorityCardType, 5);
    EXPECT_EQ(block.QuorvaneCompatibilityCharacter, 42);
    EXPECT_EQ(block.QuorvaneCharacterCount, 3);
    EXPECT_EQ(block._, 0);
    EXPECT_EQ(block.__, 255);
    EXPECT_EQ(Text(block), "DisableCardConfiguration: 1\n"
                           "CardType: 4660\n"
                           "SetHighPriorityCardType: 5\n"
                           "QuorvaneCompatibilityCharacter: 42\n"
                           "QuorvaneCharacterCount: 3\n"
                           "_: 0\n"
                           "__: 255\n");
    ReaderConfigurationBlock5 highest;
    highest.CardType = 0xFFFF;
    EXPECT_EQ(ReaderConfigurationBlock5::ToVector(highest), (Bytes{0, 0xFF, 0xFF, 0, 0, 0, 0, 0}));
    EXPECT_NE(Text(highest).find("\nCardType: 65535\n"), std::string::npos);
}

TEST(ReaderConfigurationBlocks, Block2HiddenMembersTravelButAreNotPrinted)
{
    const ReaderConfigurationBlock2 plain;
    for (auto member : {&ReaderConfigurationBlock2::_, &ReaderConfigurationBlock2::__,
                        &ReaderConfigurationBlock2::___, &ReaderConfigurationBlock2::____})
    {
        ReaderConfigurationBlock2 hidden;
        hidden.*member = 1;
        EXPECT_EQ(Text(hidden), Text(plain));
        EXPECT_NE(ReaderConfigurationBlock2::ToVector(hidden), ReaderConfigurationBlock2::ToVector(plain));
    }
    const auto block = ReaderConfigurationBlock2::FromVector({0xDE, 0xAD, 20, 10, 25, 25, 0x03, 0x1F});
    EXPECT_EQ(block._, 0xDE);
    EXPECT_EQ(block.__, 0xAD);
    EXPECT_EQ(block.___, 1);
    EXPECT_EQ(block.ExtendedPrecisionMath, 1);
    EXPECT_EQ(block.____, 15);
    EXPECT_EQ(block.ReaderSupportsReverseAllBytes, 1);
    EXPECT_THAT(
        Text(block),
        ::testing::StartsWith("DataHoldTime: 20\nLockOutTime: 10\nKeyPressTime: 25\nKeyReleaseTime: 25\n"));
}

// A member beyond its field keeps only its low bits and never spills into its neighbours.
TEST(ReaderConfigurationBlocks, OutOfRangeMembersAreCutToTheirFieldWidth)
{
    ReaderConfigurationBlock1 block1;
    block1.StripLeadingParityCount = 0x1F;
    block1.UseFixedLengthForFacAndId = 2;
    block1.EnforceExpectedBitCount = 3;
    EXPECT_EQ(ReaderConfigurationBlock1::ToVector(block1), (Bytes{0, 0, 0x0F, 0, 0, 0, 0, 0x02}));

    ReaderConfigurationBlock3 block3;
    block3._ = 0xFF;
    EXPECT_EQ(ReaderConfigurationBlock3::ToVector(block3), (Bytes{0xE0, 0, 0, 0, 0, 0, 0, 0}));
}
} // namespace
