#include <gtest/gtest.h>

#include "VisitorFactories.h"
#include "VisitorTestSupport.h"

// The checks of a written extended configuration, in their order, with sums that must not wrap, and the
// refusal of content that the 128-byte block cannot hold before anything reaches the reader.
namespace PyxTest
{
namespace
{
using namespace PyxProtocol;
using PyxCommon::ExtendedConfiguration;

const std::string kOwn = "SetExtendedConfigurationVisitor.cpp ValidateArguments: ";
const std::string kSum = kOwn +
                         "Sum of BitCountOfField and StartingBitPosition must be less than maximum bit count "
                         "defined in Application Data";
const std::string kSize =
    kOwn +
    "The total size of the Extended Configuration exceeds the maximum storage size defined in the header";

struct Separator
{
    std::uint8_t characterSize;
    std::uint8_t count;
    std::uint8_t offset;
};

ExtendedConfiguration WithSeparators(std::initializer_list<Separator> separators)
{
    ExtendedConfiguration configuration = ValidExtendedConfiguration();
    for (const Separator& s : separators)
    {
        auto& entry =
            configuration.SeparatorEntries[configuration.FieldSeparatorDataHeader.SeparatorEntryCount++];
        entry.CharacterSize = s.characterSize;
        entry.VirtualCharacterCount = s.count;
        entry.ByteOffset = s.offset;
    }
    return configuration;
}

ExtendedConfiguration WithField(std::uint8_t start, std::uint8_t bits, std::uint8_t maxBitCount)
{
    ExtendedConfiguration configuration = ValidExtendedConfiguration();
    configuration.FieldSeparatorDataHeader.FieldEntryCount = 1;
    configuration.FieldEntries[0].StartingBitPosition = start;
    configuration.FieldEntries[0].BitCountOfField = bits;
    configuration.ApplicationData.MaxBitCount = maxBitCount;
    return configuration;
}

std::string Validate(const ExtendedConfiguration& configuration, std::uint8_t securityState = 0)
{
    PyxCommon::HashData hash;
    hash.EnhanceSecurityFirmwareState = securityState;
    SetExtendedConfigurationVisitor visitor(configuration, hash);
    return FailureOf([&] { visitor.ValidateArguments(); });
}

TEST(ExtendedConfigurationRules, EmptyConfigurationPasses)
{
    EXPECT_EQ(Validate(ValidExtendedConfiguration()), "");
}

TEST(ExtendedConfigurationRules, FieldMustEndWithinTheMaximumBitCount)
{
    EXPECT_EQ(Validate(WithField(30, 34, 64)), "");
    EXPECT_EQ(Validate(WithField(30, 35, 64)), kSum);
    // 200 + 100 would be 44 in eight bits.
    EXPECT_EQ(Validate(WithField(200, 100, 255)), kSum);
}

TEST(ExtendedConfigurationRules, SeparatorsMustFollowOneAnotherWithoutGaps)
{
    EXPECT_EQ(Validate(WithSeparators({{1, 3, 0}, {2, 2, 3}})), "");
    EXPECT_EQ(Validate(WithSeparators({{1, 3, 0}, {2, 2, 4}})),
              kOwn + "ByteOffset specified for separator entry 2 is 4, which should be 3");
    EXPECT_EQ(Validate(WithSeparators({{1, 3, 1}})),
              kOwn + "ByteOffset specified for separator entry 1 is 1, which should be 0");
    // The sixth entry would start at 310; its offset byte 54 is 310 cut to eight bits and must not match.
    EXPECT_EQ(Validate(WithSeparators(
                  {{2, 31, 0}, {2, 31, 62}, {2, 31, 124}, {2, 31, 186}, {2, 31, 248}, {1, 1, 54}})),
              kOwn + "ByteOffset specified for separator entry 6 is 54, which should be 310");
}

TEST(ExtendedConfigurationRules, TotalSizeMustFitTheAnnouncedStorage)
{
    // 4 header bytes, 2 per separator entry, then the characters: 128 and 129 bytes.
    EXPECT_EQ(Validate(WithSeparators({{2, 31, 0}, {2, 27, 62}, {1, 2, 116}})), "");
    EXPECT_EQ(Validate(WithSeparators({{2, 31, 0}, {2, 27, 62}, {1, 3, 116}})), kSize);
    // 324 bytes, which would be 68 in eight bits.
    EXPECT_EQ(Validate(WithSeparators({{2, 31, 0}, {2, 31, 62}, {2, 31, 124}, {2, 31, 186}, {2, 31, 248}})),
              kSize);
}

TEST(ExtendedConfigurationRules, ChecksRunInOrder)
{
    ExtendedConfiguration configuration = WithSeparators({{2, 31, 0}, {2, 31, 62}, {2, 31, 124}});
    configuration.ApplicationData.FieldDefinitionType = 9;
    EXPECT_EQ(Validate(configuration, 2), kSize);

    configuration.SeparatorEntries[1].ByteOffset = 61;
    EXPECT_EQ(Validate(configuration, 2),
              kOwn + "ByteOffset specified for separator entry 2 is 61, which should be 62");

    configuration.FieldSeparatorDataHeader.FieldEntryCount = 1;
    configuration.FieldEntries[0].BitCountOfField = 65;
    EXPECT_EQ(Validate(configuration, 2), kSum);

    configuration.FieldEntries[0].ReverseBits = 2;
    EXPECT_EQ(
        Validate(configuration, 2),
        "TessmarException.h ThrowExceptionForPropertyOutOfRange: FieldEntry::ReverseBits setting must be "
        "between 0 and 1 inclusive");

    configuration.FieldSeparatorDataHeader.Version = 0;
    EXPECT_EQ(Validate(configuration, 2), "ExtendedConfigurationRecords.cpp Validate: FieldSeparator "
                                          "Structure Version value must be greater than 0");
}

TEST(ExtendedConfigurationRules, ApplicationDataThenSecurityStateComeLast)
{
    ExtendedConfiguration configuration = ValidExtendedConfiguration();
    EXPECT_EQ(Validate(configuration, 1), "");
    EXPECT_EQ(Validate(configuration, 2),
              "CommandVisitor.h ThrowProtocolExceptionForPropertyOutOfRange: "
              "PyxCommon::HashData::EnhanceSecurityFirmwareState setting must be between 0 and 1 inclusive");
    configuration.ApplicationData.FieldDefinitionType = 6;
    EXPECT_EQ(Validate(configuration, 2),
              "ExtendedConfigurationRecords.cpp Validate: Invalid Field Definition Type value was "
              "specified");
}

// The rules allow 128 bytes, but the block keeps its last two for the application data: such a
// configuration is refused when its byte form is made, before the first phrase.
TEST(ExtendedConfigurationRules, ContentTheBlockCannotHoldIsRefusedBeforeAnythingIsSent)
{
    const ExtendedConfiguration configuration = WithSeparators({{2, 31, 0}, {2, 27, 62}, {1, 2, 116}});
    ASSERT_EQ(Validate(configuration), "");
    for (On on : {On::FeatureReport, On::SerialBinary})
    {
        SetExtendedConfigurationVisitor visitor(configuration, PyxCommon::HashData{});
        ScriptedTransport transport;
        EXPECT_EQ(
            DispatchFailure(on, visitor, transport),
            "ExtendedConfiguration.cpp ToVector: ExtendedConfiguration::ToVector: the entries and characters "
            "need 128 bytes, but only 126 fit before the application data")
            << Name(on);
        EXPECT_TRUE(transport.Calls().empty()) << Name(on);
    }
}

TEST(ExtendedConfigurationRules, RuleFailureSendsNothing)
{
    SetExtendedConfigurationVisitor visitor(WithField(30, 35, 64), PyxCommon::HashData{});
    ScriptedTransport transport;
    EXPECT_EQ(DispatchFailure(On::SerialBinary, visitor, transport), kSum);
    EXPECT_TRUE(transport.Calls().empty());
}
} // namespace
} // namespace PyxTest
