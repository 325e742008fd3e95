#include <numeric>

#include "VisitorsEndToEnd.h"

namespace PyxVisitorsEndToEnd
{
namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;

using FeatureReportVisitors = PyxTest::OpenedOn<Protocol::FeatureReport, VisitorsEndToEnd>;

using Mfp24Visitors = PyxTest::OpenedOn<Protocol::Mfp24, VisitorsEndToEnd>;

TEST_F(FeatureReportVisitors, EveryOperationCompletes)
{
    EXPECT_EQ(RunEveryOperation(On::FeatureReport), 41u);
}

TEST_F(Mfp24Visitors, SevenOperationsCompleteAndTheOthersNeverReachTheReader)
{
    EXPECT_EQ(RunEveryOperation(On::Mfp24), 7u);
}

TEST_F(FeatureReportVisitors, CardReadPayloadOfAPresentedCard)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            PyxTest::Sim::CardSection::Card card;
            card.bitCount = 200;
            std::iota(card.data.begin(), card.data.end(), 0x30);
            model.card.presented = card;
        });
    GetCardReadPayloadVisitor visitor(GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);
    ASSERT_EQ(Visit(On::FeatureReport, visitor), "");
    const CardReadPayload payload = visitor.GetResult();
    Bytes data(std::begin(payload.Data), std::end(payload.Data));
    Bytes expected(32);
    std::iota(expected.begin(), expected.end(), 0x30);
    EXPECT_EQ(payload.BitCount, 200);
    EXPECT_EQ(data, expected);
}

TEST_F(FeatureReportVisitors, BlockWrittenToAConfigurationReadsBack)
{
    ReaderConfigurationBlock3 block{};
    block.LedGreen = 1;
    block.BeepIdValid = 1;
    block.LeadingCharCount = 15;
    block.CardGoneCharacter1 = 0x2A;
    SetActiveConfigurationVisitor select(2);
    SetConfigurationBlock3Visitor write(block);
    GetConfigurationBlock3Visitor read;
    ASSERT_EQ(Visit(On::FeatureReport, select), "");
    ASSERT_EQ(Visit(On::FeatureReport, write), "");
    ASSERT_EQ(Visit(On::FeatureReport, read), "");
    EXPECT_EQ(read.GetResult(), block);
    EXPECT_EQ(simulator_.Snapshot().configuration.active, 2);
}

TEST_F(FeatureReportVisitors, RefusedArgumentsNeverReachTheReader)
{
    ReaderConfigurationBlock3 block{};
    block.LeadingCharCount = 16;
    SetConfigurationBlock3Visitor write(block);
    EXPECT_NE(Visit(On::FeatureReport, write), "");
    ConfigureModuleStateVisitor set(ReaderModuleAction::Set, static_cast<ReaderModuleId>(3),
                                    ReaderModuleState::Invalid);
    EXPECT_NE(Visit(On::FeatureReport, set), "");
    EXPECT_TRUE(simulator_.Received().empty());
}

TEST_F(FeatureReportVisitors, ModuleStateQueriedWithoutAState)
{
    ConfigureModuleStateVisitor get(ReaderModuleAction::Get, static_cast<ReaderModuleId>(3),
                                    ReaderModuleState::Invalid);
    ASSERT_EQ(Visit(On::FeatureReport, get), "");
    EXPECT_EQ(get.GetResult(), static_cast<ReaderModuleState>(2));
}

TEST_F(FeatureReportVisitors, SecureModuleVersionsFromOneRequest)
{
    GetSamFirmwareVersionVisitor visitor(FirmwareVersionModuleType::SamHidSe);
    ASSERT_EQ(Visit(On::FeatureReport, visitor), "");
    EXPECT_EQ(visitor.GetHidSeSamFirmwareVersion().Version, 0xA4A3A2A1u);
    EXPECT_EQ(visitor.GetNxpSamFirmwareVersion().Version, 0xA4A3A2A1u);
    EXPECT_EQ(visitor.GetFelicaSamFirmwareVersion().Version, 0xA1A2A3A4u);
    EXPECT_EQ(simulator_.Received().size(), 1u);
}

TEST_F(FeatureReportVisitors, BlobsRoundTrip)
{
    const Bytes data{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    SetBlobVisitor write(PyxTest::BlobHeaderOf(10), data, PyxTest::NoWait());
    ASSERT_EQ(Visit(On::FeatureReport, write), "");
    GetBlobVisitor read(PyxTest::BlobHeaderOf(10));
    ASSERT_EQ(Visit(On::FeatureReport, read), "");
    Bytes padded = data;
    padded.resize(12, 0);
    EXPECT_EQ(read.GetResult(), padded);
}

TEST_F(FeatureReportVisitors, BleKeyRoundTrip)
{
    Bytes key(128);
    std::iota(key.begin(), key.end(), 0x40);
    SetBleBlobVisitor write(PyxCommon::BleDataType::Key, key, PyxTest::NoWait());
    ASSERT_EQ(Visit(On::FeatureReport, write), "");
    GetBleBlobVisitor read(PyxCommon::BleDataType::Key, PyxTest::NoWait());
    ASSERT_EQ(Visit(On::FeatureReport, read), "");
    EXPECT_EQ(read.GetResult(), key);
}

TEST_F(FeatureReportVisitors, ExtendedConfigurationRoundTrip)
{
    PyxCommon::ExtendedConfiguration configuration = PyxTest::ValidExtendedConfiguration();
    configuration.FieldSeparatorDataHeader.FieldEntryCount = 1;
    configuration.FieldEntries[0].FieldValid = 1;
    configuration.FieldEntries[0].StartingBitPosition = 8;
    configuration.FieldEntries[0].BitCountOfField = 16;
    configuration.FieldSeparatorDataHeader.SeparatorEntryCount = 1;
    configuration.SeparatorEntries[0].SeparatorValid = 1;
    configuration.SeparatorEntries[0].CharacterSize = 1;
    configuration.SeparatorEntries[0].VirtualCharacterCount = 2;
    configuration.SeparatorEntries[0].SeparatorCharacters[0].USBKeyScanCode = 0x2C;
    configuration.SeparatorEntries[0].SeparatorCharacters[1].USBKeyScanCode = 0x28;
    SetExtendedConfigurationVisitor write(configuration, PyxCommon::HashData{});
    ASSERT_EQ(Visit(On::FeatureReport, write), "");
    GetExtendedConfigurationVisitor read;
    ASSERT_EQ(Visit(On::FeatureReport, read), "");
    EXPECT_EQ(read.GetResult().ToVector(), configuration.ToVector());
}

TEST_F(Mfp24Visitors, FactoryDefaultsAreNotCopiedToRam)
{
    CopyConfigurationVisitor copy(ConfigurationLocation::FactoryDefaults, ConfigurationLocation::RAM, 0, 0);
    EXPECT_EQ(Visit(On::Mfp24, copy), "CopyConfigurationVisitor.cpp ValidateArguments: Factory Defaults "
                                      "configuration cannot be copied to RAM.");
    EXPECT_TRUE(simulator_.Received().empty());
}
} // namespace
} // namespace PyxVisitorsEndToEnd
