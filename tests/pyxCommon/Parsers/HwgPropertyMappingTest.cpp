#include <gtest/gtest.h>

#include "../Structures/RecordTestSupport.h"
#include "Utility/Parsers/HwgPropertyMapping.h"

using namespace PyxCommon;

namespace
{
using PyxTest::FailureOf;
using PyxTest::Image;

const HwgProperty& Property(const std::string& name)
{
    for (const auto& block : HwgPropertyMapping::PropertyBlocks)
    {
        for (const auto& property : block.Properties)
        {
            if (property.Name == name)
            {
                return property;
            }
        }
    }
    throw std::out_of_range(name);
}

// Applies name = value pairs in order, as a file would.
ReaderConfiguration Applied(const std::vector<std::pair<std::string, std::string>>& values)
{
    ReaderConfiguration configuration;
    for (const auto& [name, value] : values)
    {
        Property(name).Setter(configuration, value);
    }
    return configuration;
}

std::string Failure(const std::string& name, const std::string& value)
{
    return FailureOf([&] { Applied({{name, value}}); }).message;
}

TEST(HwgPropertyMapping, ValueTextsAreUnsignedDecimalsAndFlags)
{
    ReaderConfiguration configuration;
    configuration.SetLegacyBitStreamTimeOutMs(100).SetEnableRedLed(2).SetCardType(4660);
    EXPECT_EQ(Property("iBitStrmTO").Getter(configuration), "100");
    EXPECT_EQ(Property("iRedLEDState").Getter(configuration), "1");
    EXPECT_EQ(Property("CardType").Getter(configuration), "4660");
    EXPECT_EQ(Property("CardPriority").Getter(configuration), "0");
}

TEST(HwgPropertyMapping, SettersKeepTheLowBitsOnlyWhereTheFieldTestsNothing)
{
    EXPECT_EQ(Applied({{"iTotalBitCnt", "300"}}).GetExpectedBitCount(), 44);
    EXPECT_EQ(Applied({{"CardType", "65536"}}).GetCardType(), 0);
    EXPECT_EQ(Failure("iLeadParityBitCnt", "300"), "ReaderConfigurationStruct::TotalStripLeadingParityCount "
                                                   "setting must be between 0 and 142 inclusive");
    EXPECT_EQ(Failure("iIDHoldTO", "-4"), "DataHoldTimeMs must be a multiple of 50 milliseconds");
    EXPECT_EQ(
        Failure("iBitStrmTO", "-4"),
        "ReaderConfigurationStruct::LegacyBitStreamTimeOutMs setting must be between 0 and 1020 inclusive");
    EXPECT_EQ(Failure("bFixLenDsp", "true"), "Invalid boolean string: \"true\"");
    EXPECT_EQ(Failure("iIDBitCnt", "0x10"), "Invalid integer string: \"0x10\"");
}

TEST(HwgPropertyMapping, CharactersAreAppendedWhateverTheirSlotAndCountsFollowThem)
{
    const ReaderConfiguration leading =
        Applied({{"iLeadChrCnt", "7"}, {"iLeadChr0", "0"}, {"iLeadChr1", "65"}, {"iLeadChr2", "0"}});
    EXPECT_EQ(leading.GetLeadingCharacterCount(), 1);
    EXPECT_EQ(Property("iLeadChr0").Getter(leading), "65");
    EXPECT_EQ(Property("iLeadChr1").Getter(leading), "0");
    EXPECT_EQ(Property("iLeadChrCnt").Getter(leading), "1");
    EXPECT_EQ(Image(Applied({{"iLeadChrCnt", "anything"}})), Image(ReaderConfiguration{}));

    const auto cardGone = Applied({{"iCrdGnChr0", "0"}, {"iCrdGnChr1", "10"}}).GetCardGoneCharacters();
    EXPECT_EQ(cardGone[0], 10);
    EXPECT_EQ(cardGone[1], 0);

    EXPECT_EQ(
        FailureOf(
            [] {
                Applied({{"iLeadChr0", "1"}, {"iLeadChr1", "2"}, {"iTrailChr0", "3"}, {"iTrailChr1", "4"}});
            })
            .message,
        "Cannot add more than 3 Leading/Trailing Characters in total");
}
} // namespace
