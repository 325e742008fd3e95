#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RecordTestSupport.h"
#include "Structures/ExtendedConfiguration.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Bytes;

template <typename Record> bool SameBytes(const Record& a, const Record& b)
{
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

std::string MessageOf(const std::function<void()>& action)
{
    return PyxTest::FailureOf(action).message;
}

// A whole 128-byte block: `content` from its start, `fill` up to the application data, then that data's two
// bytes. Built at its full size, since growing a short vector trips a false array-bounds warning at -O3.
Bytes Block(const Bytes& content, std::uint8_t fill, std::uint8_t applicationData0,
            std::uint8_t applicationData1)
{
    Bytes block(128, fill);
    std::copy(content.begin(), content.end(), block.begin());
    block[126] = applicationData0;
    block[127] = applicationData1;
    return block;
}

FieldSeparatorDataHeader ValidHeader(std::uint8_t fields, std::uint8_t separators)
{
    return {1, 4, 4, fields, 2, separators, 16};
}

// Two fields, a separator of three one-byte characters and one of two two-byte characters.
ExtendedConfiguration KnownConfiguration()
{
    ExtendedConfiguration config;
    config.FieldSeparatorDataHeader = ValidHeader(2, 2);
    config.FieldEntries[0] = {1, 2, 5, 1, 0, 1, 0, 1, 1, 0, 8, 26};
    config.FieldEntries[1] = {1, 0, 0, 0, 1, 0, 1, 0, 0, 1, 34, 10};
    SeparatorEntry& first = config.SeparatorEntries[0];
    first.SeparatorValid = 1;
    first.CharacterSize = 1;
    first.VirtualCharacterCount = 3;
    first.ByteOffset = 0;
    first.SeparatorCharacters[0] = {0x2C, 0};
    first.SeparatorCharacters[1] = {0x28, 0};
    first.SeparatorCharacters[2] = {0x37, 0};
    SeparatorEntry& second = config.SeparatorEntries[1];
    second.SeparatorValid = 1;
    second.CharacterSize = 2;
    second.VirtualCharacterCount = 2;
    second.ByteOffset = 3;
    second.SeparatorCharacters[0] = {0x04, 0x02};
    second.SeparatorCharacters[1] = {0x05, 0x00};
    config.ApplicationData = {3, 1, 36};
    return config;
}

Bytes KnownBytes()
{
    return Block({0x14, 0x42, 0x22, 0x10,                         // header
                  0xC5, 0xAA, 0x08, 0x1A, 0x80, 0x51, 0x22, 0x0A, // field entries
                  0x83, 0x00, 0xC2, 0x03,                         // separator entries
                  0x2C, 0x28, 0x37, 0x04, 0x02, 0x05, 0x00},      // their characters
                 0xFF, 0x83, 0x24);
}

TEST(ExtendedConfiguration, EmptyValidConfigurationIsHeaderFillAndApplicationData)
{
    ExtendedConfiguration config;
    config.FieldSeparatorDataHeader = ValidHeader(0, 0);
    config.ApplicationData = {1, 0, 64};
    EXPECT_EQ(config.ToVector(), Block({0x14, 0x40, 0x20, 0x10}, 0xFF, 0x01, 0x40));
}

TEST(ExtendedConfiguration, KnownConfigurationHasExactBytes)
{
    ExtendedConfiguration config = KnownConfiguration();
    EXPECT_EQ(config.ToVector(), KnownBytes());
    // A one-byte character never writes its second byte.
    config.SeparatorEntries[0].SeparatorCharacters[0].SecondByte = 0x99;
    EXPECT_EQ(config.ToVector(), KnownBytes());
}

TEST(ExtendedConfiguration, ReadingBackGivesEveryFieldUnchanged)
{
    const ExtendedConfiguration read = ExtendedConfiguration::FromVector(KnownBytes());
    EXPECT_TRUE(SameBytes(read, KnownConfiguration()));
    EXPECT_EQ(read.ToVector(), KnownBytes());
}

TEST(ExtendedConfiguration, UnusedBitsAreIgnoredOnReadingAndWrittenAsZero)
{
    Bytes bytes = KnownBytes();
    bytes[5] |= 0x04;   // bit 2 of the first field entry's byte 1
    bytes[12] |= 0x20;  // bit 5 of the first separator entry's byte 0
    bytes[126] |= 0x78; // bits 6-3 of the application data
    const ExtendedConfiguration read = ExtendedConfiguration::FromVector(bytes);
    EXPECT_TRUE(SameBytes(read, KnownConfiguration()));
    EXPECT_EQ(read.ToVector(), KnownBytes());
}

TEST(ExtendedConfiguration, ApplicationDataComesFromTheLastTwoBytesGiven)
{
    Bytes bytes = KnownBytes();
    bytes.resize(200, 0xEE);
    bytes[198] = 0x85;
    bytes[199] = 0x30;
    const ExtendedConfiguration read = ExtendedConfiguration::FromVector(bytes);
    ExtendedConfiguration expected = KnownConfiguration();
    expected.ApplicationData = {5, 1, 0x30};
    EXPECT_TRUE(SameBytes(read, expected));
}

TEST(ExtendedConfiguration, ShortInputsAreRefusedWithTheirSize)
{
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[] { FieldSeparatorDataHeader::FromVector(Bytes(3)); },
         "FieldSeparatorDataHeader::FromVector requires at least 4 bytes"},
        {[] { FieldEntry::FromVector(Bytes(3)); }, "FieldEntry::FromVector requires at least 4 bytes"},
        {[] { SeparatorEntry::FromVector(Bytes(1)); },
         "SeparatorEntry::FromVector requires at least 2 bytes"},
        {[] { SeparatorCharacter::FromVector(Bytes()); },
         "SeparatorCharacter::FromVector requires at least 1 byte"},
        {[] { ApplicationData::FromVector(Bytes(1)); },
         "ApplicationData::FromVector requires at least 2 bytes"},
        {[] { ExtendedConfiguration::FromVector(Bytes(127, 0)); },
         "ExtendedConfiguration::FromVector requires at least 128 bytes"},
    };
    for (const auto& [action, message] : cases)
    {
        EXPECT_EQ(MessageOf(action), message);
    }
}

TEST(ExtendedConfiguration, ValidateNamesTheFirstBrokenRule)
{
    struct Case
    {
        std::function<void(ExtendedConfiguration&)> breakIt;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[](auto& c) { c.FieldSeparatorDataHeader.Version = 0, c.FieldSeparatorDataHeader.HeaderSize = 5; },
         "FieldSeparator Structure Version value must be greater than 0"},
        {[](auto& c) { c.FieldSeparatorDataHeader.HeaderSize = 5; }, "Header size value must be equal to 4"},
        {[](auto& c) { c.FieldSeparatorDataHeader.FieldEntrySize = 2; },
         "Field entry size value must be equal to 4"},
        {[](auto& c) { c.FieldSeparatorDataHeader.SeparatorEntrySize = 4; },
         "Separator entry size value must be equal to 2"},
        {[](auto& c) { c.FieldSeparatorDataHeader.MaxStorageSize = 8; },
         "Max storage size value must be equal to 16"},
        {[](auto& c) { c.FieldSeparatorDataHeader.FieldEntryCount = 32; },
         "FieldSeparatorDataHeader::FieldEntryCount setting must be between 0 and 31 inclusive"},
        {[](auto& c) { c.FieldSeparatorDataHeader.SeparatorEntryCount = 32; },
         "FieldSeparatorDataHeader::SeparatorEntryCount setting must be between 0 and 31 inclusive"},
        {[](auto& c) { c.FieldEntries[1].FieldValid = 2; },
         "FieldEntry::FieldValid setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.FieldEntries[1].FixedFieldOutputLength = 32; },
         "FieldEntry::FixedFieldOutputLength setting must be between 0 and 31 inclusive"},
        {[](auto& c) { c.FieldEntries[1].ReverseBits = 2; },
         "FieldEntry::ReverseBits setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.FieldEntries[1].ReverseBytes = 2; },
         "FieldEntry::ReverseBytes setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.FieldEntries[1].FiveBMS = 2; },
         "FieldEntry::FiveBMS setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.FieldEntries[1].InvertBits = 2; },
         "FieldEntry::InvertBits setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.FieldEntries[1].ReverseAllBytes = 2; },
         "FieldEntry::ReverseAllBytes setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.FieldEntries[1].UseHash = 2, c.FieldEntries[1].ConversionType = 4; },
         "FieldEntry::UseHash setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.FieldEntries[1].ConversionType = 4; }, "Invalid Conversion Type value was "
                                                                "specified"},
        {[](auto& c) { c.SeparatorEntries[1].SeparatorValid = 2; },
         "SeparatorEntry::SeparatorValid setting must be between 0 and 1 inclusive"},
        {[](auto& c) { c.SeparatorEntries[1].CharacterSize = 0; },
         "SeparatorEntry::CharacterSize setting must be between 1 and 2 inclusive"},
        {[](auto& c) { c.SeparatorEntries[1].CharacterSize = 3; },
         "SeparatorEntry::CharacterSize setting must be between 1 and 2 inclusive"},
        {[](auto& c) { c.SeparatorEntries[1].VirtualCharacterCount = 32; },
         "SeparatorEntry::VirtualCharacterCount setting must be between 0 and 31 inclusive"},
        {[](auto& c) { c.SeparatorEntries[1].SeparatorCharacters[1].USBKeyScanCode = 232; },
         "SeparatorCharacter::USBKeyScanCode setting must be between 0 and 231 inclusive"},
        {[](auto& c) { c.ApplicationData.FieldDefinitionType = 6; },
         "Invalid Field Definition Type value was "
         "specified"},
        {[](auto& c) { c.ApplicationData.EnhanceSecurityFlag = 2; },
         "ApplicationData::EnhanceSecurityFlag setting must be between 0 and 1 inclusive"},
    };
    for (const Case& c : cases)
    {
        ExtendedConfiguration config = KnownConfiguration();
        c.breakIt(config);
        EXPECT_EQ(MessageOf([&] { config.Validate(); }), c.message);
    }
}

TEST(ExtendedConfiguration, ValidateLooksOnlyAtWhatIsInUse)
{
    ExtendedConfiguration config = KnownConfiguration();
    config.SeparatorEntries[1].SeparatorCharacters[1].USBKeyScanCode = 231;
    config.ApplicationData.FieldDefinitionType = 5;
    config.FieldEntries[2].ConversionType = 9;
    config.SeparatorEntries[2].CharacterSize = 7;
    config.SeparatorEntries[1].SeparatorCharacters[2].USBKeyScanCode = 255;
    EXPECT_NO_THROW(config.Validate());
}

TEST(ExtendedConfiguration, WritingCutsEveryFieldToItsBits)
{
    ExtendedConfiguration config;
    config.FieldSeparatorDataHeader = {0x1F, 0x14, 0x14, 1, 0x12, 1, 16};
    config.FieldEntries[0] = {0xFE, 0x05, 0xFF, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 1, 2};
    config.SeparatorEntries[0].SeparatorValid = 0xFE;
    config.SeparatorEntries[0].CharacterSize = 1;
    config.SeparatorEntries[0].VirtualCharacterCount = 0;
    config.ApplicationData = {0x0F, 0x02, 7};
    EXPECT_EQ(config.ToVector(),
              Block({0xF4, 0x41, 0x21, 0x10, 0x3F, 0x00, 0x01, 0x02, 0x00, 0x00}, 0xFF, 0x07, 0x07));
}

TEST(ExtendedConfiguration, WritingRefusesCountsBeyondTheEntriesHeld)
{
    ExtendedConfiguration config = KnownConfiguration();
    config.FieldSeparatorDataHeader.FieldEntryCount = 32;
    EXPECT_EQ(MessageOf([&] { config.ToVector(); }),
              "FieldSeparatorDataHeader::FieldEntryCount setting must be between 0 and 31 inclusive");
    config = KnownConfiguration();
    config.FieldSeparatorDataHeader.SeparatorEntryCount = 200;
    EXPECT_EQ(MessageOf([&] { config.ToVector(); }),
              "FieldSeparatorDataHeader::SeparatorEntryCount setting must be between 0 and 31 inclusive");
    config = KnownConfiguration();
    config.SeparatorEntries[1].VirtualCharacterCount = 32;
    EXPECT_EQ(MessageOf([&] { config.ToVector(); }),
              "SeparatorEntry::VirtualCharacterCount setting must be between 0 and 31 inclusive");
}

TEST(ExtendedConfiguration, WritingRefusesContentThatReachesTheApplicationData)
{
    ExtendedConfiguration config;
    config.FieldSeparatorDataHeader = ValidHeader(30, 1);
    config.SeparatorEntries[0].CharacterSize = 1;
    config.ApplicationData = {0, 0, 0xAB};
    // 4 + 30 x 4 + 2 = 126 bytes: exactly up to the application data.
    const Bytes full = config.ToVector();
    ASSERT_EQ(full.size(), 128U);
    EXPECT_EQ(full[125], 0x00);
    EXPECT_EQ(full[127], 0xAB);

    config.FieldSeparatorDataHeader.FieldEntryCount = 31;
    EXPECT_EQ(MessageOf([&] { config.ToVector(); }),
              "ExtendedConfiguration::ToVector: the entries and characters need 130 bytes, but only 126 fit "
              "before the application data");

    ExtendedConfiguration characters;
    characters.FieldSeparatorDataHeader = ValidHeader(0, 2);
    for (SeparatorEntry& entry : characters.SeparatorEntries)
    {
        entry.CharacterSize = 2;
        entry.VirtualCharacterCount = 31;
    }
    EXPECT_EQ(MessageOf([&] { characters.ToVector(); }),
              "ExtendedConfiguration::ToVector: the entries and characters need 132 bytes, but only 126 fit "
              "before the application data");
}

TEST(ExtendedConfiguration, ReadingRefusesAHeaderThatDescribesMoreThanTheBlockHolds)
{
    const std::string fields =
        "ExtendedConfiguration::FromVector: the header describes more field entries than fit "
        "before the application data";
    const std::string characters =
        "ExtendedConfiguration::FromVector: the header describes more separator characters "
        "than fit before the application data";
    const std::vector<std::pair<Bytes, std::string>> cases = {
        // 31 four-byte field entries.
        {{0x14, 0x5F, 0x20, 0x10}, fields},
        // Ten field entries announced as 14 bytes each.
        {{0x14, 0xEA, 0x20, 0x10}, fields},
        // Field entries announced as 0 bytes each.
        {{0x14, 0x01, 0x20, 0x10}, "FieldEntry::FromVector requires at least 4 bytes"},
        // Separator entries announced as 0 bytes each.
        {{0x14, 0x40, 0x01, 0x10, 0x01, 0x00}, "SeparatorEntry::FromVector requires at least 2 bytes"},
        // Two separators of 31 two-byte characters each: 4 + 4 + 124 bytes.
        {{0x14, 0x40, 0x22, 0x10, 0xDF, 0x00, 0xDF, 0x3E}, characters},
    };
    for (const auto& [start, message] : cases)
    {
        Bytes bytes = start;
        bytes.resize(128, 0x00);
        EXPECT_EQ(MessageOf([&] { ExtendedConfiguration::FromVector(bytes); }), message);
    }
}

TEST(ExtendedConfiguration, ReadingAcceptsContentUpToTheApplicationData)
{
    // 30 field entries and one separator entry: 4 + 120 + 2 = 126 bytes.
    const Bytes bytes = Block({0x14, 0x5E, 0x21, 0x10}, 0x00, 0x01, 0x20);
    const ExtendedConfiguration read = ExtendedConfiguration::FromVector(bytes);
    EXPECT_EQ(read.FieldSeparatorDataHeader.FieldEntryCount, 30);
    EXPECT_EQ(read.SeparatorEntries[0].CharacterSize, 1);
    EXPECT_EQ(read.ApplicationData.MaxBitCount, 0x20);
    EXPECT_EQ(read.ToVector(), bytes);
}
} // namespace
