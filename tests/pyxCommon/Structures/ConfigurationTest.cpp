#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RecordTestSupport.h"
#include "Structures/Configuration.h"

using PyxCommon::ReaderConfiguration;

namespace
{
using PyxTest::Bytes;
using PyxTest::Failure;
using PyxTest::FailureOf;
using PyxTest::FromImage;
using PyxTest::Image;

// Each setter, given a marker, must put it at its own offset and nowhere else: the image is the C record.
TEST(ReaderConfiguration, EachSetterWritesItsOwnOffset)
{
    struct Case
    {
        std::size_t offset;
        Bytes expected;
        std::function<void(ReaderConfiguration&)> set;
    };
    const std::vector<Case> cases = {
        {0, {26}, [](auto& c) { c.SetFacDigitCount(26); }},
        {1, {25}, [](auto& c) { c.SetIdDigitCount(25); }},
        {2, {142}, [](auto& c) { c.SetTotalStripLeadingParityCount(142); }},
        {3, {141}, [](auto& c) { c.SetTotalStripTrailingParityCount(141); }},
        {4, {0xA4}, [](auto& c) { c.SetIdBitCount(0xA4); }},
        {5, {0xA5}, [](auto& c) { c.SetExpectedBitCount(0xA5); }},
        {6, {0xA6}, [](auto& c) { c.SetIdAndFacDelimiter(0xA6); }},
        {7, {0xA7}, [](auto& c) { c.SetTerminationCharacter(0xA7); }},
        {8, {1}, [](auto& c) { c.SetUseFixedLengthForFacAndId(true); }},
        {9, {1}, [](auto& c) { c.SetEnforceExpectedBitCount(true); }},
        {10, {1}, [](auto& c) { c.SetStripFacFromId(true); }},
        {11, {1}, [](auto& c) { c.SetSendFacAfterStrippingIt(true); }},
        {12, {1}, [](auto& c) { c.SetUseIdAndFacDelimiter(true); }},
        {13, {1}, [](auto& c) { c.SetDisableKeystrokeTerminationCharacter(true); }},
        {14, {1}, [](auto& c) { c.SetEnableContinuousRead(true); }},
        {15, {1}, [](auto& c) { c.SetDisableKeystroking(true); }},
        {16, {0xFC, 0x03}, [](auto& c) { c.SetLegacyBitStreamTimeOutMs(1020); }},
        {18, {0xCE, 0x31}, [](auto& c) { c.SetDataHoldTimeMs(12750); }},
        {20, {0x64, 0x00}, [](auto& c) { c.SetLockOutTimeMs(100); }},
        {22, {0x08, 0x00}, [](auto& c) { c.SetKeyPressTimeMs(8); }},
        {24, {0x00, 0x01}, [](auto& c) { c.SetKeyReleaseTimeMs(256); }},
        {26, {1}, [](auto& c) { c.SetEnableIdExtendedPrecision(true); }},
        {27, {1}, [](auto& c) { c.SetUseLowercaseHex(true); }},
        {28, {1}, [](auto& c) { c.SetEnableProxProEmulation(true); }},
        {29, {1}, [](auto& c) { c.SetEnableHexadecimalId(true); }},
        {30, {1}, [](auto& c) { c.SetEnableHexadecimalFac(true); }},
        {31, {1}, [](auto& c) { c.SetUseIndividualIdAndFacNumberFormats(true); }},
        {32, {1}, [](auto& c) { c.SetUseNumericKeypad(true); }},
        {33, {1}, [](auto& c) { c.SetReaderSupportsReverseAllBytes(true); }},
        {34, {1}, [](auto& c) { c.SetReaderSupportsAsciiExtended(true); }},
        {35, {1}, [](auto& c) { c.SetReaderSupportsExtendedMode(true); }},
        {36, {1}, [](auto& c) { c.SetEnableDravikMode(true); }},
        {37, {2}, [](auto& c) { c.SetEnableRedLed(2); }},
        {38, {3}, [](auto& c) { c.SetEnableGreenLed(3); }},
        {39, {4}, [](auto& c) { c.SetEnableOemRelay(4); }},
        {40, {5}, [](auto& c) { c.SetEnableOemBeeper(5); }},
        {41, {1}, [](auto& c) { c.SetNotBootDevice(true); }},
        {42, {1}, [](auto& c) { c.SetUseLeadingCharacters(true); }},
        {43, {1}, [](auto& c) { c.SetEnabledSoftwareControlledLed(true); }},
        {44, {1}, [](auto& c) { c.SetUseHexadecimalForBothFacAndId(true); }},
        {45, {1}, [](auto& c) { c.SetInvertWiegandBits(true); }},
        {46, {1}, [](auto& c) { c.SetEnableBeepOnCardRead(true); }},
        {47, {1}, [](auto& c) { c.SetReverseWiegandBits(true); }},
        {48, {1}, [](auto& c) { c.SetReverseWiegandBytes(true); }},
        {49, {1}, [](auto& c) { c.SetUseDataInvert(true); }},
        {50, {0x0D, 0x0A}, [](auto& c) { c.AddCardGoneCharacter(0x0D).AddCardGoneCharacter(0x0A); }},
        {52,
         {2, 1, 'a', 'b', 'z'},
         [](auto& c) { c.AddTrailingCharacter('z').AddLeadingCharacter('a').AddLeadingCharacter('b'); }},
        {57, {1}, [](auto& c) { c.SetUseIndividualIdAndFacFixedLengths(true); }},
        {58, {1}, [](auto& c) { c.SetUseFixedLengthFac(true); }},
        {59, {1}, [](auto& c) { c.SetUseFixedLengthId(true); }},
        {60, {0xB3}, [](auto& c) { c.SetCfgRb3(0xB3); }},
        {61, {0xB4}, [](auto& c) { c.SetCfgRb4(0xB4); }},
        {62, {1}, [](auto& c) { c.SetEnableFacExtendedPrecision(true); }},
        {63, {1}, [](auto& c) { c.SetAzertyKeyboardShift(true); }},
        {64, {1}, [](auto& c) { c.SetEnableExtendedMode(true); }},
        {65, {1}, [](auto& c) { c.SetDisableCardConfiguration(true); }},
        {66, {0x34, 0x12}, [](auto& c) { c.SetCardType(0x1234); }},
        {68, {1}, [](auto& c) { c.SetHighPriorityCardType(true); }},
        {69, {0xC1}, [](auto& c) { c.SetQuorvaneCompatibilityCharacter(0xC1); }},
        {70, {0xC2}, [](auto& c) { c.SetQuorvaneCharacterCount(0xC2); }},
    };
    for (const Case& c : cases)
    {
        ReaderConfiguration config;
        c.set(config);
        Bytes expected(71, 0);
        std::copy(c.expected.begin(), c.expected.end(),
                  expected.begin() + static_cast<std::ptrdiff_t>(c.offset));
        EXPECT_EQ(Image(config), expected) << "offset " << c.offset;
    }
}

// Every range setter: the upper bound passes; the next step beyond it and a wide value that would narrow to
// an accepted one are refused with the field's name, and leave the record unchanged.
TEST(ReaderConfiguration, RangeSettersAcceptTheirBoundsAndRefuseBeyondOrWideValues)
{
    struct Case
    {
        const char* field;
        std::uint32_t upper;
        std::uint32_t step;
        std::uint32_t wide;
        std::function<void(ReaderConfiguration&, std::uint32_t)> set;
    };
    const std::vector<Case> cases = {
        {"FacDigitCount", 26, 1, 256 + 20, [](auto& c, auto v) { c.SetFacDigitCount(v); }},
        {"IdDigitCount", 26, 1, 256 + 20, [](auto& c, auto v) { c.SetIdDigitCount(v); }},
        {"TotalStripLeadingParityCount", 142, 1, 256 + 100,
         [](auto& c, auto v) { c.SetTotalStripLeadingParityCount(v); }},
        {"TotalStripTrailingParityCount", 142, 1, 256 + 100,
         [](auto& c, auto v) { c.SetTotalStripTrailingParityCount(v); }},
        {"LegacyBitStreamTimeOutMs", 1020, 4, 65536 + 100,
         [](auto& c, auto v) { c.SetLegacyBitStreamTimeOutMs(v); }},
        {"DataHoldTimeMs", 12750, 50, 65536 * 25 + 100, [](auto& c, auto v) { c.SetDataHoldTimeMs(v); }},
        {"LockOutTimeMs", 12750, 50, 65536 * 25 + 100, [](auto& c, auto v) { c.SetLockOutTimeMs(v); }},
        {"KeyPressTimeMs", 1020, 4, 65536 + 100, [](auto& c, auto v) { c.SetKeyPressTimeMs(v); }},
        {"KeyReleaseTimeMs", 1020, 4, 65536 + 100, [](auto& c, auto v) { c.SetKeyReleaseTimeMs(v); }},
    };
    for (const Case& c : cases)
    {
        ReaderConfiguration config;
        ASSERT_NO_THROW(c.set(config, c.upper)) << c.field;
        const Bytes before = Image(config);
        const std::string message = std::string("ReaderConfigurationStruct::") + c.field +
                                    " setting must be between 0 and " + std::to_string(c.upper) +
                                    " inclusive";
        for (std::uint32_t value : {c.upper + c.step, c.wide})
        {
            const Failure failure = FailureOf([&] { c.set(config, value); });
            EXPECT_EQ(failure.message, message);
            EXPECT_EQ(failure.function, "ThrowExceptionForPropertyOutOfRange");
            EXPECT_EQ(Image(config), before) << c.field;
        }
    }
}

TEST(ReaderConfiguration, TimingSettersTestTheStepBeforeTheRange)
{
    struct Case
    {
        std::uint32_t value;
        std::function<void(ReaderConfiguration&, std::uint32_t)> set;
        const char* message;
        const char* function;
    };
    const std::vector<Case> cases = {
        {125, [](auto& c, auto v) { c.SetDataHoldTimeMs(v); },
         "DataHoldTimeMs must be a multiple of 50 milliseconds", "SetDataHoldTimeMs"},
        {12801, [](auto& c, auto v) { c.SetDataHoldTimeMs(v); },
         "DataHoldTimeMs must be a multiple of 50 milliseconds", "SetDataHoldTimeMs"},
        {60, [](auto& c, auto v) { c.SetLockOutTimeMs(v); },
         "LockOutTimeMs must be a multiple of 50 milliseconds", "SetLockOutTimeMs"},
        {1022, [](auto& c, auto v) { c.SetKeyPressTimeMs(v); },
         "KeyPressTimeMs must be a multiple of 4 milliseconds", "SetKeyPressTimeMs"},
        {2, [](auto& c, auto v) { c.SetKeyReleaseTimeMs(v); },
         "KeyReleaseTimeMs must be a multiple of 4 milliseconds", "SetKeyReleaseTimeMs"},
        {1023, [](auto& c, auto v) { c.SetLegacyBitStreamTimeOutMs(v); },
         "LegacyBitStreamTimeOutMs must be a multiple of 4 milliseconds", "SetLegacyBitStreamTimeOutMs"},
    };
    for (const Case& c : cases)
    {
        ReaderConfiguration config;
        const Failure failure = FailureOf([&] { c.set(config, c.value); });
        EXPECT_EQ(failure.message, c.message);
        EXPECT_EQ(failure.function, c.function);
        EXPECT_EQ(Image(config), Bytes(71, 0));
    }
    // The record's own refusals name the record's source file, as they always have.
    try
    {
        ReaderConfiguration config;
        config.SetKeyPressTimeMs(2);
        ADD_FAILURE() << "no exception";
    }
    catch (const TessmarException& e)
    {
        EXPECT_EQ(e.GetFileName(), "ReaderConfigurationStruct.cpp");
    }
}

TEST(ReaderConfiguration, CardGoneCharactersFillTheFirstEmptySlot)
{
    ReaderConfiguration config;
    config.AddCardGoneCharacter(0).AddCardGoneCharacter(10);
    EXPECT_EQ(config.GetCardGoneCharacters()[0], 10);
    EXPECT_EQ(config.GetCardGoneCharacters()[1], 0);
    config.AddCardGoneCharacter(13);
    const Bytes before = Image(config);
    const Failure failure = FailureOf([&] { config.AddCardGoneCharacter(9); });
    EXPECT_EQ(failure.message, "Cannot add more than 2 Card Gone Characters");
    EXPECT_EQ(failure.function, "AddCardGoneCharacter");
    EXPECT_EQ(Image(config), before);
}

TEST(ReaderConfiguration, LeadingCharacterGoesInFrontOfTrailingOnes)
{
    ReaderConfiguration config;
    config.AddTrailingCharacter('T').AddLeadingCharacter('L');
    EXPECT_EQ(config.GetLeadingCharacterCount(), 1);
    EXPECT_EQ(config.GetTrailingCharacterCount(), 1);
    EXPECT_EQ(config.GetLeadingCharacter(0), 'L');
    EXPECT_EQ(config.GetTrailingCharacter(0), 'T');
    EXPECT_EQ(config.GetLeadingCharacter(1), 0);
    EXPECT_EQ(config.GetTrailingCharacter(1), 0);
    EXPECT_EQ(config.GetLeadingTrailingCharacters(), (std::array<std::uint8_t, 3>{'L', 'T', 0}));
}

TEST(ReaderConfiguration, NoMoreThanThreeLeadingAndTrailingCharacters)
{
    ReaderConfiguration config;
    config.AddLeadingCharacter('a').AddLeadingCharacter('b').AddTrailingCharacter('c');
    const Bytes before = Image(config);
    const Failure leading = FailureOf([&] { config.AddLeadingCharacter('d'); });
    EXPECT_EQ(leading.message, "Cannot add more than 3 Leading/Trailing Characters in total");
    EXPECT_EQ(leading.function, "AddLeadingCharacter");
    const Failure trailing = FailureOf([&] { config.AddTrailingCharacter('d'); });
    EXPECT_EQ(trailing.message, "Cannot add more than 3 Leading/Trailing Characters in total");
    EXPECT_EQ(trailing.function, "AddTrailingCharacter");
    EXPECT_NO_THROW(config.AddLeadingCharacter(0).AddTrailingCharacter(0));
    EXPECT_EQ(Image(config), before);
}

// A record copied in from a caller's 71 bytes may carry counts that no add operation would produce; they
// must never lead to a read or write past the three character slots.
TEST(ReaderConfiguration, CallerFilledCountsNeverReachPastTheSlots)
{
    Bytes image(71, 0);
    image[54] = 'A';
    image[55] = 'B';
    image[56] = 'C';
    image[57] = 0x77; // the byte right after the slots
    image[8] = 2;     // a flag byte that is neither 0 nor 1

    image[52] = 2;
    image[53] = 3;
    ReaderConfiguration config = FromImage<ReaderConfiguration>(image);
    EXPECT_TRUE(config.GetUseFixedLengthForFacAndId());
    EXPECT_EQ(config.GetLeadingCharacter(1), 'B');
    EXPECT_EQ(config.GetTrailingCharacter(0), 'C');
    EXPECT_EQ(config.GetTrailingCharacter(1), 0);
    EXPECT_EQ(config.GetTrailingCharacter(2), 0);
    EXPECT_THROW(config.AddLeadingCharacter('x'), TessmarException);
    EXPECT_THROW(config.AddTrailingCharacter('x'), TessmarException);
    EXPECT_EQ(Image(config), image);

    image[52] = 200;
    image[53] = 0;
    config = FromImage<ReaderConfiguration>(image);
    EXPECT_EQ(config.GetLeadingCharacter(2), 'C');
    EXPECT_EQ(config.GetLeadingCharacter(3), 0);
    EXPECT_EQ(config.GetLeadingCharacter(199), 0);
    EXPECT_THROW(config.AddLeadingCharacter('x'), TessmarException);
    EXPECT_EQ(Image(config), image);

    image[52] = 4;
    image[53] = 255;
    config = FromImage<ReaderConfiguration>(image);
    EXPECT_EQ(config.GetTrailingCharacter(0), 0);
    EXPECT_EQ(config.GetTrailingCharacter(254), 0);
    EXPECT_THROW(config.AddTrailingCharacter('x'), TessmarException);
    EXPECT_EQ(Image(config), image);
}
} // namespace
