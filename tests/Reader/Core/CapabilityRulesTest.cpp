#include <cstring>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "Reader/ReaderCapabilityProfile.h"

namespace
{
using Pyx::ReaderCapability;
using enum Pyx::ReaderCapability;

template <std::size_t N>
void SetText(char (&field)[N], std::uint8_t& present, const char* text, bool isPresent = true)
{
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
    present = isPresent ? 1 : 0;
}

struct TextCase
{
    const char* text;
    bool supported;
};

class CapabilityRulesTest : public ::testing::Test
{
protected:
    // Each case's text as the reader's `field`, then `unreported` in it with the field not reported: a text
    // the reader did not report never rules the capability out.
    template <std::size_t N>
    void ExpectRuleOnText(char (&field)[N], std::uint8_t& present, ReaderCapability capability,
                          std::initializer_list<TextCase> cases, const char* unreported)
    {
        for (const auto& c : cases)
        {
            SetText(field, present, c.text);
            EXPECT_EQ(profile_.HasCapability(capability), c.supported) << c.text;
        }
        SetText(field, present, unreported, false);
        EXPECT_TRUE(profile_.HasCapability(capability));
    }

    ReaderMetadataStruct metadata_{};
    Pyx::DefaultReaderCapabilityProfile profile_{metadata_, nullptr};
};

TEST_F(CapabilityRulesTest, KeystrokingFollowsTheFourthCharacterFromTheEndOfTheModelPrefix)
{
    ExpectRuleOnText(metadata_.PartNumber, metadata_.PartNumberPresent, READER_CAPABILITY_KEYSTROKING,
                     {{"ABC-2123-X", false},
                      {"ABC-1234-X", true},
                      {"A2BC", true},
                      {"2BCD", false},
                      {"XYZ", true},
                      {"AB2D-", true},
                      {"-", true},
                      {"X-2BCD-Y", false}},
                     "2BCD");
}

TEST_F(CapabilityRulesTest, BlockFiveIsMissingOnP35Models)
{
    ExpectRuleOnText(metadata_.ReaderString7, metadata_.ReaderString7Present,
                     READER_CAPABILITY_CONFIGURATION_BLOCK_5,
                     {{"Model P35-X", false}, {"p350", false}, {"P3 5", true}, {"P3", true}}, "P35");
}

TEST_F(CapabilityRulesTest, MetadataRulesReadTheRecordAsItStandsWhenAsked)
{
    EXPECT_FALSE(profile_.HasCapability(READER_CAPABILITY_EXTENDED_CONFIGURATION));
    EXPECT_FALSE(profile_.HasCapability(READER_CAPABILITY_TRANSPARENT_MODE));
    metadata_.ExtendedOutputCapable = 1;
    metadata_.InstalledHardware[13] = 1; // "RF Legic" installed
    EXPECT_TRUE(profile_.HasCapability(READER_CAPABILITY_EXTENDED_CONFIGURATION));
    EXPECT_FALSE(profile_.HasCapability(READER_CAPABILITY_TRANSPARENT_MODE));
    metadata_.TransparentModeReported = 1;
    EXPECT_TRUE(profile_.HasCapability(READER_CAPABILITY_TRANSPARENT_MODE));
    metadata_.InstalledHardware[13] = 0;
    EXPECT_FALSE(profile_.HasCapability(READER_CAPABILITY_TRANSPARENT_MODE));
}

TEST_F(CapabilityRulesTest, OnlyUnknownAndCardAnalyzerLackARule)
{
    for (std::uint16_t value = 0; value <= 26; ++value)
    {
        const auto capability = static_cast<ReaderCapability>(value);
        const bool expected = value != 0 && value != 13 && value <= 24 && value != 2 && value != 12;
        EXPECT_EQ(profile_.HasCapability(capability), expected) << value;
    }
    EXPECT_STREQ(Pyx::ReaderCapabilityToString(READER_CAPABILITY_CONFIGURABLE),
                 "READER_CAPABILITY_CONFIGURABLE");
    EXPECT_STREQ(Pyx::ReaderCapabilityToString(static_cast<ReaderCapability>(25)), "unknown");
}

TEST_F(CapabilityRulesTest, SetsKeepOrderWithoutDuplicatesAndReportWhatIsMissing)
{
    Pyx::ReaderCapabilitySet empty;
    EXPECT_TRUE(profile_.IsCapableOf(empty));
    EXPECT_TRUE(profile_.GetUnsupportedCapabilities(empty).empty());

    Pyx::ReaderCapabilitySet set;
    set.WithRequiredCapability(READER_CAPABILITY_CARD_ANALYZER)
        .WithRequiredCapability(READER_CAPABILITY_BEEPER)
        .WithRequiredCapability(READER_CAPABILITY_UNKNOWN)
        .WithRequiredCapability(READER_CAPABILITY_CARD_ANALYZER);
    EXPECT_EQ(
        set.GetRequiredCapabilities(),
        (std::vector{READER_CAPABILITY_CARD_ANALYZER, READER_CAPABILITY_BEEPER, READER_CAPABILITY_UNKNOWN}));
    EXPECT_FALSE(profile_.IsCapableOf(set));
    EXPECT_EQ(profile_.GetUnsupportedCapabilities(set),
              (std::vector{READER_CAPABILITY_CARD_ANALYZER, READER_CAPABILITY_UNKNOWN}));
}

TEST(ReaderMetadataTextTest, UnnamedValuesHaveTheirOwnText)
{
    EXPECT_EQ(Pyx::ProductLineTypeToString(static_cast<Pyx::ProductLineType>(7)), "Invalid Product Line");
    EXPECT_EQ(Pyx::ProductLineTypeToString(Pyx::ProductLineType::NotApplicable), "Not Applicable");
    EXPECT_EQ(Pyx::HardwarePlatformDesignationToString(static_cast<Pyx::HardwarePlatformDesignation>(254)),
              "Invalid Platform Designation");
    EXPECT_EQ(Pyx::HardwarePlatformDesignationToString(Pyx::HardwarePlatformDesignation::STM32), "STM32");
}
} // namespace
