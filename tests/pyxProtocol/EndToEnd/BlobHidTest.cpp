// Smart-card blobs, BLE data and the extended configuration through the real USB HID transport (hidapi on a
// umockdev node), with the reader simulator answering.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Commands/WithFeatureReportProtocol/GetBleBlobWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetBlobWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetExtendedConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetBleBlobWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetBlobWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetExtendedConfigurationWithFeatureReportProtocol.h"
#include "RecordingTimeDelay.h"
#include "SimulatedReaderTest.h"

namespace
{
using namespace PyxProtocol;
using PyxCommon::BleDataType;
using PyxTest::RecordingTimeDelay;
using PyxTest::Sim::BlobSection;
using PyxTest::Sim::Bytes;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;

Bytes Pattern(std::size_t size, std::uint8_t seed)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(seed + 7 * i);
    }
    return bytes;
}

class BlobOnHidReader : public PyxTest::SimulatedReaderTest<>
{
protected:
    void SetUp() override { Open(Protocol::FeatureReport); }

    // The BLE commands with the waits recorded instead of slept.
    Bytes ReadBle(BleDataType type)
    {
        GetBleBlobWithFeatureReportProtocol command(type, 10, 100, std::make_unique<RecordingTimeDelay>());
        command.Execute(*transport_);
        command.ValidateResponse();
        return command.GetResult();
    }

    void WriteBle(BleDataType type, const Bytes& data)
    {
        SetBleBlobWithFeatureReportProtocol command(type, data, 10, 100,
                                                    std::make_unique<RecordingTimeDelay>());
        command.Execute(*transport_);
    }

    void Change(const std::function<void(BlobSection&)>& change)
    {
        simulator_.Update([&](ReaderModel& model) { change(model.blob); });
    }
};

TEST_F(BlobOnHidReader, SmartCardBlobWrittenIsReadBackWithItsPadding)
{
    const PyxCommon::BlobHeader header{.BlobType = 7, .SecondByte = 1, .DataLength = 10, .FifthByte = 3};
    const Bytes data = Pattern(10, 0x30);
    SetBlobWithFeatureReportProtocol write(header, data);
    write.Execute(*transport_);
    write.ValidateResponse();

    GetBlobWithFeatureReportProtocol read(header);
    read.Execute(*transport_);
    read.ValidateResponse();
    Bytes expected = data;
    expected.resize(12, 0x00);
    EXPECT_EQ(read.GetResult(), expected);
    EXPECT_EQ(simulator_.Snapshot().blob.blobWrites,
              (std::vector<BlobSection::BlobWrite>{{{7, 1, 10, 3}, expected}}));
}

TEST_F(BlobOnHidReader, BleDataSetsRoundTripThroughBusyStores)
{
    Change([](BlobSection& blob) { blob.busyPolls = 3; });
    const Bytes data = Pattern(384, 0x01);
    const Bytes key = Pattern(128, 0x80);
    const Bytes unencrypted = Pattern(16, 0xC0);
    WriteBle(BleDataType::Data, data);
    WriteBle(BleDataType::Key, key);
    WriteBle(BleDataType::UnencryptedKey, unencrypted);

    EXPECT_EQ(ReadBle(BleDataType::Data), data);
    EXPECT_EQ(ReadBle(BleDataType::Key), key);
    const auto blob = simulator_.Snapshot().blob;
    EXPECT_EQ(blob.storedSections, (std::vector<std::uint8_t>{0, 1, 2, 16, 4}));
    EXPECT_EQ(Bytes(blob.unencryptedKey.begin(), blob.unencryptedKey.end()), unencrypted);
}

TEST_F(BlobOnHidReader, ReadRecoversFromAPollStormBySendingItsSetupAgain)
{
    Change(
        [](BlobSection& blob)
        {
            blob.bleKey.fill(0x5C);
            blob.pollCodes.assign(10, 3);
        });
    EXPECT_EQ(ReadBle(BleDataType::Key), Bytes(128, 0x5C));
    const Bytes setup{0x89, 0x10, 0, 0, 0x10, 0x01, 0, 0x10};
    const auto received = simulator_.Received(Protocol::FeatureReport);
    EXPECT_EQ(std::count(received.begin(), received.end(), setup), 2);
}

TEST_F(BlobOnHidReader, FatalCodeEndsTheTransferAfterOneExchange)
{
    Change([](BlobSection& blob) { blob.phraseCodes = {12}; });
    EXPECT_EQ(FailureOf([&] { WriteBle(BleDataType::Key, Bytes(128)); }),
              "Out of memory during SetBleBlob write config params");
    EXPECT_EQ(simulator_.Received(Protocol::FeatureReport).size(), 1u);
}

TEST_F(BlobOnHidReader, ReaderWithoutBleModuleIsNamedInTheFailure)
{
    Change([](BlobSection& blob) { blob.bleModule = false; });
    EXPECT_EQ(
        FailureOf([&] { ReadBle(BleDataType::Key); }),
        "Invalid response during GetBleBlob read setup: expected command 0x89 and opcode 0x10 but got 0x00 "
        "0x00. The reader may not support this command.");
}

TEST_F(BlobOnHidReader, ExtendedConfigurationAndHashValuesAreStoredAndReadBack)
{
    PyxCommon::ExtendedConfiguration configuration;
    configuration.FieldSeparatorDataHeader = {.Version = 2,
                                              .HeaderSize = 4,
                                              .FieldEntrySize = 4,
                                              .FieldEntryCount = 2,
                                              .SeparatorEntrySize = 2,
                                              .SeparatorEntryCount = 1,
                                              .MaxStorageSize = 16};
    configuration.FieldEntries[0] = {.FieldValid = 1, .StartingBitPosition = 1, .BitCountOfField = 16};
    configuration.FieldEntries[1] = {.FieldValid = 1, .StartingBitPosition = 17, .BitCountOfField = 8};
    configuration.SeparatorEntries[0].SeparatorValid = 1;
    configuration.SeparatorEntries[0].CharacterSize = 2;
    configuration.SeparatorEntries[0].VirtualCharacterCount = 1;
    configuration.SeparatorEntries[0].SeparatorCharacters[0] = {0x2C, 0x02};
    configuration.ApplicationData.MaxBitCount = 26;
    PyxCommon::HashData hash;
    hash.HashValue1.fill(0xA1);
    hash.EnhanceSecurityFirmwareState = 1;

    SetExtendedConfigurationWithFeatureReportProtocol write(configuration, hash);
    write.Execute(*transport_);
    const auto stored = simulator_.Snapshot().extendedConfiguration;
    const Bytes block = configuration.ToVector();
    EXPECT_EQ(Bytes(stored.block.begin(), stored.block.end()), block);
    EXPECT_EQ(stored.hashValue1, hash.HashValue1);
    EXPECT_EQ(stored.hashValue2, hash.HashValue2);
    EXPECT_EQ(stored.hashWrites, 4u);

    GetExtendedConfigurationWithFeatureReportProtocol read;
    read.Execute(*transport_);
    read.ValidateResponse();
    EXPECT_EQ(read.GetResult().ToVector(), block);
}
} // namespace
