// The three forms of a stored configuration: the reader's blocks, the validated record and its C image.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Exceptions/TessmarException.h"
#include "Reader/ReaderConfigurationConversion.h"

namespace
{
using PyxCommon::ReaderConfiguration;

std::string RefusalOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const TessmarException& error)
    {
        return error.GetMessage();
    }
    return "";
}

// A record with every kind of setting away from its default.
ReaderConfiguration Sample(std::uint32_t leadingParity)
{
    ReaderConfiguration c;
    c.SetFacDigitCount(5)
        .SetIdDigitCount(10)
        .SetTotalStripLeadingParityCount(leadingParity)
        .SetTotalStripTrailingParityCount(142)
        .SetIdBitCount(26)
        .SetTerminationCharacter(0x0D)
        .SetDisableKeystroking(true)
        .SetDataHoldTimeMs(12750)
        .SetLockOutTimeMs(100)
        .SetKeyPressTimeMs(1020)
        .SetKeyReleaseTimeMs(8)
        .SetUseLowercaseHex(true)
        .SetEnableGreenLed(1)
        .SetReverseWiegandBytes(true)
        .AddCardGoneCharacter('G')
        .AddCardGoneCharacter('H')
        .AddLeadingCharacter('L')
        .AddTrailingCharacter('T')
        .AddTrailingCharacter('U')
        .SetCfgRb4(0xA5)
        .SetEnableExtendedMode(true)
        .SetCardType(0x1234)
        .SetQuorvaneCharacterCount(3);
    return c;
}

TEST(ReaderConfigurationConversion, RecordsSurviveTheBlocksAndTheCImage)
{
    for (std::uint32_t parity : {14u, 15u, 20u})
    {
        const ReaderConfiguration written = Sample(parity);
        const auto blocks = Pyx::ToConfigurationBlocks(written);
        ReaderConfiguration read;
        Pyx::ApplyConfigurationBlocks(blocks, read);
        EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0) << parity;

        PyxReaderConfiguration image;
        std::memcpy(&image, &written, sizeof image);
        const ReaderConfiguration fromImage = Pyx::FromConfigurationRecord(image);
        EXPECT_EQ(std::memcmp(&fromImage, &written, sizeof image), 0);
    }
}

TEST(ReaderConfigurationConversion, BlocksCarryTheReadersUnitsAndSplits)
{
    const auto blocks =
        Pyx::ToConfigurationBlocks(Sample(20).SetDataHoldTimeMs(150).SetReaderSupportsReverseAllBytes(true));
    EXPECT_EQ(blocks.Block1.StripLeadingParityCount, 15);
    EXPECT_EQ(blocks.Block4.LeadingParityBig, 5);
    EXPECT_EQ(blocks.Block1.StripTrailingParityCount, 15);
    EXPECT_EQ(blocks.Block4.TrailingParityBig, 127);
    EXPECT_EQ(Pyx::ToConfigurationBlocks(Sample(14)).Block1.StripLeadingParityCount, 14);
    EXPECT_EQ(Pyx::ToConfigurationBlocks(Sample(15)).Block4.LeadingParityBig, 0);
    EXPECT_EQ(blocks.Block2.DataHoldTime, 3);
    EXPECT_EQ(Pyx::ToConfigurationBlocks(Sample(0)).Block2.DataHoldTime, 255);
    EXPECT_EQ(blocks.Block2.KeyPressTime, 255);
    EXPECT_EQ(blocks.Block2.KeyReleaseTime, 2);
    EXPECT_EQ(blocks.Block2.___, 1);
    // The reader's own settings come from its metadata, never from the record.
    EXPECT_EQ(blocks.Block2.ReaderSupportsReverseAllBytes, 0);
    ReaderMetadataStruct metadata{};
    metadata.ReaderSupportsReverseAllBytes = 1;
    metadata.Dravik = 1;
    auto owned = blocks;
    Pyx::ApplyReaderOwnedSettings(owned, metadata);
    EXPECT_EQ(owned.Block2.ReaderSupportsReverseAllBytes, 1);
    EXPECT_EQ(owned.Block2.Dravik, 1);
    EXPECT_EQ(owned.Block2.ExtendedAscii, 0);

    // Hold times are whole steps of 50 ms: the rest is dropped.
    PyxProtocol::ReaderConfiguration fromReader{};
    fromReader.Block2.DataHoldTime = 2;
    ReaderConfiguration read;
    Pyx::ApplyConfigurationBlocks(fromReader, read);
    EXPECT_EQ(read.GetDataHoldTimeMs(), 100);
}

TEST(ReaderConfigurationConversion, CharacterSlotsAreReadByTheirCountsOnly)
{
    PyxProtocol::ReaderConfiguration blocks{};
    blocks.Block3.LeadingCharCount = 1;
    blocks.Block3.TrailingCharCount = 1;
    blocks.Block3.LeadingTrailingCharacter0 = 'A';
    blocks.Block3.LeadingTrailingCharacter1 = 'B';
    blocks.Block3.LeadingTrailingCharacter2 = 'C';
    ReaderConfiguration read;
    Pyx::ApplyConfigurationBlocks(blocks, read);
    EXPECT_EQ(read.GetLeadingCharacterCount(), 1);
    EXPECT_EQ(read.GetLeadingCharacter(0), 'A');
    EXPECT_EQ(read.GetTrailingCharacterCount(), 1);
    EXPECT_EQ(read.GetTrailingCharacter(0), 'B');

    // Counts past the three slots are refused before any slot is read.
    blocks.Block3.TrailingCharCount = 15;
    const std::string refusal = "Leading/Trailing Character counts 1 and 15 exceed the 3 character slots";
    EXPECT_EQ(RefusalOf(
                  [&]
                  {
                      ReaderConfiguration target;
                      Pyx::ApplyConfigurationBlocks(blocks, target);
                  }),
              refusal);
}

TEST(ReaderConfigurationConversion, SetterRefusalsArriveThroughTheReading)
{
    PyxProtocol::ReaderConfiguration blocks{};
    blocks.Block1.StripLeadingParityCount = 15;
    blocks.Block4.LeadingParityBig = 128; // 143: one above the largest count
    EXPECT_EQ(RefusalOf(
                  [&]
                  {
                      ReaderConfiguration target;
                      Pyx::ApplyConfigurationBlocks(blocks, target);
                  }),
              "ReaderConfigurationStruct::TotalStripLeadingParityCount setting must be between 0 and 142 "
              "inclusive");
    blocks = {};
    blocks.Block3.CardGoneCharacter1 = 'X';
    blocks.Block3.CardGoneCharacter2 = 'Y';
    ReaderConfiguration holdsOne;
    holdsOne.AddCardGoneCharacter('Z'); // not fresh: the second character has no slot left
    EXPECT_EQ(RefusalOf([&] { Pyx::ApplyConfigurationBlocks(blocks, holdsOne); }),
              "Cannot add more than 2 Card Gone Characters");
}
} // namespace
