#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "CardTypes/CardType.h"

namespace
{
using PyxCommon::CardType;

std::array<std::uint8_t, sizeof(CardTypeInfo)> Bytes(const CardTypeInfo& info)
{
    std::array<std::uint8_t, sizeof(CardTypeInfo)> bytes{};
    std::memcpy(bytes.data(), &info, sizeof(info));
    return bytes;
}

TEST(CardTypeInfo, FlatFormOverwritesTheWholeRecord)
{
    CardTypeInfo info;
    std::memset(&info, 0xAA, sizeof(info));
    CardType{0x1234, "Desc", "NAME", 1, 3}.ToCardTypeInfo(info);

    std::array<std::uint8_t, sizeof(CardTypeInfo)> expected{};
    expected[0] = 0x34;
    expected[1] = 0x12;
    std::memcpy(&expected[2], "Desc", 4);
    std::memcpy(&expected[130], "NAME", 4);
    expected[194] = 1;
    expected[195] = 3;
    EXPECT_EQ(Bytes(info), expected);
}

TEST(CardTypeInfo, LongTextsAreCutAndStayZeroTerminated)
{
    CardTypeInfo info;
    std::memset(&info, 0xAA, sizeof(info));
    CardType{0x0101, std::string(200, 'd'), std::string(100, 'n'), 1, 2}.ToCardTypeInfo(info);

    const auto bytes = Bytes(info);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[2]), 127), std::string(127, 'd'));
    EXPECT_EQ(bytes[129], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[130]), 63), std::string(63, 'n'));
    EXPECT_EQ(bytes[193], 0);
    EXPECT_EQ(bytes[194], 1);
    EXPECT_EQ(bytes[195], 2);

    const CardType back = CardType::FromCardTypeInfo(info);
    EXPECT_EQ(back.Description, std::string(127, 'd'));
    EXPECT_EQ(back.Name, std::string(63, 'n'));
}

TEST(CardTypeInfo, TextsWithoutZeroByteAreReadWithinTheirFields)
{
    // A caller-filled record need not be terminated; reading must stop at the field's end.
    CardTypeInfo info;
    std::memset(&info, 'x', sizeof(info));
    info.Code = 0x7F01;
    info.SecurityCode = 2;
    info.TechnologyCode = 4;
    const CardType type = CardType::FromCardTypeInfo(info);
    EXPECT_EQ(type, (CardType{0x7F01, std::string(128, 'x'), std::string(64, 'x'), 2, 4}));
}

TEST(CardTypeInfo, RoundTripKeepsEveryField)
{
    const CardType type{0x7E21, "ISO 15693  CSN", "ISO15693", 2, 2};
    CardTypeInfo info;
    type.ToCardTypeInfo(info);
    EXPECT_EQ(CardType::FromCardTypeInfo(info), type);
}
} // namespace
