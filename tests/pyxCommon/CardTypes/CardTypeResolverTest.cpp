#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "CardTypes/CardTypeResolver.h"
#include "Exceptions/TessmarException.h"
#include "Utility/StringUtils.h"

namespace
{
using PyxCommon::CardType;
using PyxCommon::CardTypeResolver;

const CardTypeResolver& Catalogue()
{
    return CardTypeResolver::GetInstance();
}

std::vector<std::uint16_t> Codes(const std::vector<CardType>& types)
{
    std::vector<std::uint16_t> codes;
    for (const CardType& type : types)
    {
        codes.push_back(type.Code);
    }
    return codes;
}

CardType Entry(std::uint16_t code)
{
    const auto infos = Catalogue().GetCardTypeInfos();
    const auto found =
        std::find_if(infos.begin(), infos.end(), [&](const CardTypeInfo& i) { return i.Code == code; });
    if (found == infos.end())
    {
        ADD_FAILURE() << "no catalogue entry " << std::hex << code;
        return {};
    }
    return CardType::FromCardTypeInfo(*found);
}

TEST(CardTypeCatalogue, Holds122UniqueCodesInCatalogueOrder)
{
    const auto infos = Catalogue().GetCardTypeInfos();
    ASSERT_EQ(infos.size(), 122U);
    std::set<std::uint16_t> codes;
    for (const CardTypeInfo& info : infos)
    {
        EXPECT_TRUE(codes.insert(info.Code).second) << std::hex << info.Code;
    }
    EXPECT_EQ(CardType::FromCardTypeInfo(infos.front()).Name, "OFF");
    EXPECT_EQ(CardType::FromCardTypeInfo(infos.back()).Name, "WAVELYNX_NFC_WALLET_PLUS_LEAF");
}

TEST(CardTypeCatalogue, FlatRecordsMatchTheCatalogueByteForByte)
{
    // CRC-32 of the 122 flat records back to back: every code, text, security and technology code, in order.
    const auto infos = Catalogue().GetCardTypeInfos();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(infos.data());
    EXPECT_EQ(PyxCommon::StringUtils::Crc32Value(bytes, infos.size_bytes()), 0x426EA492U);
}

struct ExpectedEntry
{
    std::uint16_t code;
    const char* name;
    std::uint8_t technology;
    std::uint8_t security;
    const char* description;
};

TEST(CardTypeCatalogue, EntriesKeepTheirExactTextsAndCodes)
{
    const ExpectedEntry expected[] = {
        {0x0000, "OFF", 0, 0, "--- OFF ---"},
        {0x0206, "ALLEGION_HCE", 2, 1, "Allegion HCE"},
        {0x6F05, "READ_ALL_LF_HF", 4, 2, "AutoDetect HF/LF Non-Secure Credentials"},
        {0x8201, "BLE_BEACON", 1, 3, "BLE Beacon"},
        {0x7E21, "ISO15693", 2, 2, "ISO 15693  CSN"},
        {0xF503, "GPROXII_UID_ALT", 3, 2, "Gproxii Uid Alt"},
        {0x0105, "HID_CONFIG", 2, 2, "Hid Config"},
        {0x7E31, "ETAG", 2, 2, "etag CSN (Secura Key)"},
        {0xFD04, "INDALA_ASP_CUSTOM", 3, 2, "Indala ASP Custom : Please contact Tessmar sales"},
        {0xF903, "IOPROX_ALT", 3, 2, "ioProx (Kantech) : Alternate"},
        {0xF302, "HITAG1S", 3, 2, "HiTag 1 & S"},
        {0xF722, "NEXKEY", 3, 2, "NexKey, Quadrakey, KeyMate, 2Smart Key (Honeywell)"},
        {0x0202, "MIFARE_EV1_CSN_SECURE_NES", 2, 2, "MIFARE DESFire CSN + Secure File"},
        {0x7F51, "MIFARE_ULTRALIGHT_CSN", 2, 2, "MIFARE Ultralight CSN (Philips, NXP, NFC 2)"},
        {0x8501, "HID_MOBILE_ACCESS", 1, 3, "HID Mobile Access"},
        {0x030F, "WAVELYNX_NFC_WALLET_PLUS_LEAF", 2, 2, "Wavelynx NFC Wallet + LEAF"},
    };
    for (const ExpectedEntry& e : expected)
    {
        SCOPED_TRACE(e.name);
        const CardType type = Entry(e.code);
        EXPECT_EQ(type.Name, e.name);
        EXPECT_EQ(type.Description, e.description);
        EXPECT_EQ(type.TechnologyCode, e.technology);
        EXPECT_EQ(type.SecurityCode, e.security);
    }
}

struct Resolution
{
    std::uint16_t code;
    std::vector<std::uint16_t> expected;
};

TEST(CardTypeResolution, ReportedCodesMapToTheirCardTypes)
{
    const Resolution cases[] = {
        // Code 0 is the OFF entry alone.
        {0x0000, {0x0000}},
        // A tracked base code stands for its whole family, itself included.
        {0x7F01, {0x7F01, 0x7F11, 0x7F21, 0x7F31, 0x7F41, 0x7F51}},
        {0xFB01, {0xFB01, 0xFB11, 0xFB21}},
        {0x7E01, {0x7E01, 0x7E11, 0x7E21, 0x7E31, 0x7E41}},
        {0xE902, {0xE902, 0xE912, 0xE922}},
        // An untracked base code stands for the family members the catalogue knows.
        {0xF702, {0xF712, 0xF722}},
        // Base codes without other family members, and variants, stand for themselves.
        {0xFB02, {0xFB02}},
        {0x6F00, {0x6F00}},
        {0x6F04, {0x6F04}},
        {0x7F11, {0x7F11}},
        {0xFB21, {0xFB21}},
        {0xF712, {0xF712}},
        {0x030D, {0x030D}},
    };
    for (const Resolution& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.code);
        EXPECT_EQ(Codes(Catalogue().ResolveSupportedCardType(c.code)), c.expected);
    }
}

TEST(CardTypeResolution, ResolvedEntriesCarryTheirTexts)
{
    const auto types = Catalogue().ResolveSupportedCardType(0xFB01);
    ASSERT_EQ(types.size(), 3U);
    EXPECT_EQ(types[0], (CardType{0xFB01, "EM 410x", "EM", 2, 3}));
    EXPECT_EQ(types[1], (CardType{0xFB11, "DIGITAG", "DIGITAG", 2, 3}));
    EXPECT_EQ(types[2], (CardType{0xFB21, "Rosslare", "ROSSLARE", 2, 3}));
}

TEST(CardTypeResolution, UntrackedCodesAreRefused)
{
    const std::pair<std::uint16_t, const char*> cases[] = {
        // A base code with no family.
        {0x7F0C, "0x7F0C"},
        // A variant the catalogue does not hold, although its family exists.
        {0x7F61, "0x7F61"},
        {0xFFFF, "0xFFFF"},
        // Written without leading zeros.
        {0x0010, "0x10"},
        {0x0F00, "0xF00"},
    };
    for (const auto& [code, hex] : cases)
    {
        SCOPED_TRACE(hex);
        try
        {
            (void)Catalogue().ResolveSupportedCardType(code);
            ADD_FAILURE() << "not refused";
        }
        catch (const TessmarException& e)
        {
            EXPECT_EQ(e.GetMessage(),
                      std::string("Reader provided a card type '") + hex +
                          "' that is not currently tracked. It may not exist, or it may be very new.");
            EXPECT_EQ(e.GetFunctionName(), "ResolveSupportedCardType");
            EXPECT_EQ(e.GetFileName(), "CardTypeResolver.cpp");
            EXPECT_EQ(e.GetExceptionType(), "TessmarException");
        }
    }
}

TEST(CardTypeResolution, UntrackedBaseCodesAreNonZeroBaseCodesOutsideTheCatalogue)
{
    const std::pair<std::uint16_t, bool> cases[] = {
        {0x0000, false}, {0xF702, true},  {0x7F0C, true},  {0xFF00, true},
        {0x7F01, false}, {0x7F61, false}, {0x7F11, false}, {0x0010, false},
    };
    for (const auto& [code, untracked] : cases)
    {
        EXPECT_EQ(Catalogue().IsUntrackedBaseCode(code), untracked) << std::hex << code;
    }
}

TEST(CardTypeResolution, FamilyLookupIgnoresBits4To7AndListsEachMemberOnce)
{
    const std::vector<std::uint16_t> mifare = {0x7F01, 0x7F11, 0x7F21, 0x7F31, 0x7F41, 0x7F51};
    EXPECT_EQ(Codes(Catalogue().FindFamilyCardTypes(0x7F01)), mifare);
    EXPECT_EQ(Codes(Catalogue().FindFamilyCardTypes(0x7F31)), mifare);
    EXPECT_EQ(Codes(Catalogue().FindFamilyCardTypes(0x7FF1)), mifare);
    EXPECT_EQ(Codes(Catalogue().FindFamilyCardTypes(0x6F00)), std::vector<std::uint16_t>{0x6F00});
    EXPECT_TRUE(Catalogue().FindFamilyCardTypes(0x1234).empty());
    EXPECT_TRUE(Catalogue().FindFamilyCardTypes(0x7F0C).empty());
}
} // namespace
