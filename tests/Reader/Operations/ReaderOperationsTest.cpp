#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers' own allocator, which GCC's headers do not declare.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "CardTypes/CardTypeResolver.h"
#include "OperationsDelay.h"
#include "OperationsFixture.h"
#include "Reader/ReaderCapabilityProfile.h"
#include "RecordingTimeDelay.h"
#include "Utility/StringUtils.h"

// Every Pyx::Reader operation end to end: the library's real stack down to hidapi on a umockdev testbed,
// with the reader simulator answering as a FeatureReport reader (the protocol that serves them all).
namespace PyxTest
{
namespace
{
using PyxProtocol::BeepVolume;
using PyxProtocol::ReaderModuleId;
using PyxProtocol::ReaderModuleState;
using Sim::ReaderModel;

// A folder of its own for each test's files, removed afterwards.
class TempFolder
{
public:
    TempFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("pyx-ops-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Reports `count` configurations in place of the simulator's four, from the next metadata read on.
void ReportConfigurations(Sim::ReaderSimulator& simulator, std::uint8_t count)
{
    simulator.Arm(
        Sim::Fault::ReplaceWith({0x89, 0x01}, {0x89, 0x01, 0x00, count, 0x00, 0x34, 0x12, 0x07}).Times(0));
}

std::size_t Stores(const Sim::ReaderSimulator& simulator)
{
    return simulator.Snapshot().configuration.writes.size();
}

PyxCommon::ReaderConfiguration ReadConfiguration(Pyx::Reader& reader, std::uint8_t number)
{
    PyxCommon::ReaderConfiguration configuration;
    PyxCommon::ExtendedConfiguration extended;
    reader.GetReaderConfiguration(number, configuration, extended);
    return configuration;
}

void WriteConfiguration(Pyx::Reader& reader, std::uint8_t number, const PyxCommon::ReaderConfiguration& value)
{
    reader.SetReaderConfiguration(number, value, PyxCommon::ExtendedConfiguration{}, PyxCommon::HashData{});
}

using ReaderOperationsTest = OperationsTest;

TEST_F(ReaderOperationsTest, OperationsThatChangeStoredSettingsStoreOnceQueriesNever)
{
    simulator_.Update([](ReaderModel& model) { model.identity.installedMask |= 0x08; }); // transparent mode
    Pyx::Reader& reader = Open();

    reader.Beep(2, PyxProtocol::BEEP_DURATION::BEEP_LONG);
    reader.SetBeeperVolume(BeepVolume::VOLUME_3);
    BeepVolume volume{};
    reader.GetBeeperVolume(volume);
    EXPECT_EQ(volume, BeepVolume::VOLUME_3);
    reader.EnableTransparentMode(true, false);
    EXPECT_EQ(Stores(simulator_), 0u);

    reader.SetLuid(0x4242);
    reader.EnableTransparentMode(true, true);
    reader.SetModuleState(ReaderModuleId{1}, ReaderModuleState{2});
    EXPECT_EQ(Stores(simulator_), 3u);
    ReaderModuleState state{};
    reader.GetModuleState(ReaderModuleId{1}, state);
    EXPECT_EQ(state, ReaderModuleState{2});
    EXPECT_EQ(simulator_.Snapshot().beeper.beeps.size(), 1u);

    // A failed step ends the sequence: nothing is stored after it.
    EXPECT_EQ(FailureOf([&] { reader.SetModuleState(ReaderModuleId{9}, ReaderModuleState{1}); })
                  .rfind("Operation 'Pyx::Reader::SetModuleState' failed [Protocol Exception: ", 0),
              0u);
    EXPECT_EQ(Stores(simulator_), 3u);
}

TEST_F(ReaderOperationsTest, CardDataFillsACardThatHoldsNoBytes)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.card.presented = Sim::CardSection::Card{};
            model.card.presented->bitCount = 26;
            model.card.presented->data[0] = 0xAB;
            model.card.presented->data[31] = 0xCD;
        });
    Pyx::Reader& reader = Open();
    Pyx::CardData card;
    const Pyx::CardData movedTo = std::move(card); // leaves `card` without bytes
    reader.GetCardData(card,                       // NOLINT(bugprone-use-after-move): the point of the test
                       PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);
    ASSERT_EQ(card.Size(), 32u);
    EXPECT_EQ(card.GetBitCount(), 26u);
    EXPECT_EQ(card.AsByteArray()[0], std::byte{0xAB});
    EXPECT_EQ(card.AsByteArray()[31], std::byte{0xCD});
}

TEST_F(ReaderOperationsTest, RefusedOperationsSendNothing)
{
    // A part number that rules out keystroking; transparent mode needs an installed module it lacks.
    simulator_.Update([](ReaderModel& model) { model.identity.partNumber = "ABC-2123-X"; });
    Pyx::Reader& reader = Open();

    EXPECT_EQ(FailureOf([&] { reader.EnableKeystroking(true); }),
              "Operation 'Pyx::Reader::EnableKeystroking' requires capabilities that this reader does not "
              "support: READER_CAPABILITY_KEYSTROKING");
    EXPECT_EQ(
        FailureOf([&] { reader.EnableTransparentMode(true, true); }),
        "Operation 'Pyx::Reader::EnableTransparentMode' requires capabilities that this reader does not "
        "support: READER_CAPABILITY_TRANSPARENT_MODE");
    EXPECT_EQ(FailureOf([&] { reader.AnalyzeCard(nullptr); }),
              "Operation 'Pyx::Reader::AnalyzeCard' requires capabilities that this reader does not support: "
              "READER_CAPABILITY_CARD_ANALYZER");
    EXPECT_EQ(FailureOf([&] { WriteConfiguration(reader, 0, PyxCommon::ReaderConfiguration{}); }),
              "Cannot enable keystroking on this reader. The reader does not support keystroking "
              "(READER_CAPABILITY_KEYSTROKING).");
    EXPECT_EQ(FailureOf([&] { reader.ResetReaderConfiguration(static_cast<Pyx::CheckpointType>(3)); }),
              "Unsupported checkpoint type.");
    EXPECT_EQ(FailureOf([&] { reader.ConfigureBaudRate(PyxCommon::SerialPortBaudRate::Baud9600); }),
              "This function is not yet implemented.");
    EXPECT_TRUE(simulator_.Received().empty());
}

TEST_F(ReaderOperationsTest, LedConfigurationRoundTripsAndSoftwareControlOffKeepsTheLeds)
{
    Pyx::Reader& reader = Open();
    for (std::uint8_t color = 1; color <= 4; ++color)
    {
        reader.SetLedConfiguration(1, {color, true});
        Pyx::LedConfiguration read;
        reader.GetLedConfiguration(1, read);
        EXPECT_EQ(read.LedColor, color);
        EXPECT_TRUE(read.SoftwareControlled);
    }
    reader.SetLedConfiguration(1, {2, false});
    Pyx::LedConfiguration read;
    reader.GetLedConfiguration(1, read);
    EXPECT_EQ(read.LedColor, 0);
    EXPECT_FALSE(read.SoftwareControlled);
    const PyxCommon::ReaderConfiguration configuration = ReadConfiguration(reader, 1);
    EXPECT_EQ(configuration.GetEnableRedLed(), 1); // red and green as colour 4 left them
    EXPECT_EQ(configuration.GetEnableGreenLed(), 1);
    EXPECT_EQ(Stores(simulator_), 5u);
}

TEST_F(ReaderOperationsTest, KeystrokingChangesEveryConfigurationAndStoresEach)
{
    Pyx::Reader& reader = Open();
    reader.EnableKeystroking(false);
    for (std::uint8_t number = 0; number < 4; ++number)
    {
        EXPECT_TRUE(ReadConfiguration(reader, number).GetDisableKeystroking()) << int(number);
    }
    EXPECT_EQ(Stores(simulator_), 4u);
}

TEST_F(ReaderOperationsTest, ReaderConfigurationWriteKeepsTheReaderOwnedSettings)
{
    Pyx::Reader& reader = Open();
    PyxCommon::ReaderConfiguration written;
    written.SetDataHoldTimeMs(150).SetReaderSupportsReverseAllBytes(true).SetCardType(0x0011);
    written.AddCardGoneCharacter('x').AddCardGoneCharacter('y');
    WriteConfiguration(reader, 2, written);
    EXPECT_EQ(Stores(simulator_), 1u);

    // A caller's record that already holds characters is replaced, not added to; the two settings that no
    // block carries stay as the caller held them.
    PyxCommon::ReaderConfiguration read;
    read.AddCardGoneCharacter('a').AddCardGoneCharacter('b').AddLeadingCharacter('c');
    read.SetLegacyBitStreamTimeOutMs(200).SetNotBootDevice(true);
    PyxCommon::ExtendedConfiguration extended;
    reader.GetReaderConfiguration(2, read, extended);
    EXPECT_EQ(read.GetDataHoldTimeMs(), 150);
    EXPECT_EQ(read.GetCardType(), 0x0011);
    EXPECT_EQ(read.GetCardGoneCharacters()[0], 'x');
    EXPECT_EQ(read.GetLeadingCharacterCount(), 0);
    EXPECT_FALSE(read.GetReaderSupportsReverseAllBytes()); // the reader's own value
    EXPECT_EQ(read.GetLegacyBitStreamTimeOutMs(), 200);
    EXPECT_TRUE(read.GetNotBootDevice());
}

TEST_F(ReaderOperationsTest, DefaultsAreCopiedAndLoadedAsAsked)
{
    Pyx::Reader& reader = Open();
    reader.ResetReaderConfiguration(Pyx::CheckpointType::FactoryDefaults);
    reader.ResetReaderConfiguration(Pyx::CheckpointType::UserDefaults);
    reader.WriteUserDefaultsToReader();
    const ReaderModel model = simulator_.Snapshot();
    using Copy = Sim::ConfigurationSection::Copy;
    EXPECT_EQ(model.configuration.copies, (std::vector<Copy>{{3, 2, 0, 0}, {1, 2, 0, 0}}));
    EXPECT_EQ(model.configuration.defaultLoads, 2u);
    EXPECT_TRUE(model.configuration.writes.empty());
}

TEST_F(ReaderOperationsTest, SupportedCardTypesAreResolvedInTheReadersOrderUpToAnUntrackedCode)
{
    const auto& resolver = PyxCommon::CardTypeResolver::GetInstance();
    const std::vector<std::uint16_t> tracked{resolver.GetCardTypeInfos()[2].Code,
                                             resolver.GetCardTypeInfos()[1].Code};
    simulator_.Update(
        [&](ReaderModel& model) {
            model.supportedCards.codes = {tracked[0], tracked[1], 0x0001};
        });
    Pyx::Reader& reader = Open();
    std::vector<PyxCommon::CardType> types(3);
    EXPECT_THROW(reader.GetSupportedCardTypes(types), TessmarException);
    std::vector<std::uint16_t> expected;
    for (const std::uint16_t code : tracked)
    {
        for (const PyxCommon::CardType& type : resolver.ResolveSupportedCardType(code))
        {
            expected.push_back(type.Code);
        }
    }
    std::vector<std::uint16_t> codes;
    for (const PyxCommon::CardType& type : types)
    {
        codes.push_back(type.Code);
    }
    EXPECT_EQ(codes, expected);
}

TEST_F(ReaderOperationsTest, SmartCardBlobsTravelWholeAndCutToTheirLength)
{
    simulator_.Update([](ReaderModel& model) { model.blob.blobs[5] = {1, 2, 3, 4, 5}; });
    Pyx::Reader& reader = Open();
    // The reader answers in four-byte words: eight bytes for a five-byte blob.
    PyxCommon::SmartCardConfiguration blob;
    blob.SetConfiguration({5, 0, 5, 0}, std::vector<std::uint8_t>(5, 0));
    reader.ReadSmartCardConfigurationFromReader(blob);
    EXPECT_EQ(blob.GetBlobData(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));

    TempFolder folder;
    const std::string blobs =
        "[Blob1]\nhdr=0F 00 04 00\ndata=01 02 03 04\n[Blob2]\nhdr=05 00 02 00\ndata=0A 0B\n";
    std::ofstream(folder.File("card.ini"))
        << blobs << "[EOF]\niEndOfIniFile="
        << PyxCommon::StringUtils::Crc32(std::vector<std::uint8_t>(blobs.begin(), blobs.end())) << "\n";
    auto delay = std::make_shared<RecordingTimeDelay>();
    Pyx::SetReaderOperationDelayMaker([delay] { return std::make_unique<ForwardingDelay>(delay); });
    reader.WriteSmartCardConfigurationToReader(folder.File("card.ini"));
    Pyx::SetReaderOperationDelayMaker({});

    const ReaderModel model = simulator_.Snapshot();
    ASSERT_EQ(model.blob.blobWrites.size(), 2u);
    EXPECT_EQ(model.blob.blobWrites[0].header[0], 15);
    EXPECT_EQ(model.blob.blobs.at(5), (std::vector<std::uint8_t>{0x0A, 0x0B, 0x00, 0x00}));
    EXPECT_EQ(model.configuration.writes.size(), 2u);
    // A key blob settles before it is stored; every blob settles after.
    EXPECT_EQ(delay->WaitsInMilliseconds(), (std::vector<int>{500, 500, 500}));
    EXPECT_EQ(FailureOf([&] { reader.WriteSmartCardConfigurationToReader(folder.File("card.INI")); }),
              "File '" + folder.File("card.INI") + "' is not a valid INI file.");
}

TEST_F(ReaderOperationsTest, BleDataKeepTheFirmwaresBytesAndFilesOfAnotherTypeAreRefused)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            for (std::size_t i = 0; i < model.blob.bleData.size(); ++i)
            {
                model.blob.bleData[i] = static_cast<std::uint8_t>(i);
            }
        });
    Pyx::Reader& reader = Open();
    TempFolder folder;
    const std::string file = folder.File("ble.hwg");
    reader.ReadBleConfigurationFromReader(PyxCommon::BleDataType::Data, file);
    reader.WriteBleConfigurationToReader(PyxCommon::BleDataType::Data, file);

    // Without the "RF HID BLE" module the reader's own bytes are zero; the others travel unchanged.
    const ReaderModel model = simulator_.Snapshot();
    for (const std::size_t offset : {145, 146, 147, 148, 173, 194, 213})
    {
        EXPECT_EQ(model.blob.bleData[offset], 0) << offset;
    }
    EXPECT_EQ(model.blob.bleData[144], 144);
    EXPECT_EQ(
        FailureOf([&]
                  { reader.WriteBleConfigurationToReader(PyxCommon::BleDataType::UnencryptedKey, file); }),
        "Invalid BLE configuration file: Expected BLE UnencryptedKey type, got Data type.");
    EXPECT_EQ(FailureOf([&] { reader.WriteBleConfigurationToReader(PyxCommon::BleDataType::Key, file); }),
              "Invalid BLE configuration file: Expected BLE Key type, got Data type.");
}

TEST_F(ReaderOperationsTest, UnencryptedKeyTravelsFromASixteenByteKeyFileOnly)
{
    simulator_.Update([](ReaderModel& model) { model.blob.bleKey.fill(0x5A); });
    Pyx::Reader& reader = Open();
    TempFolder folder;
    // A BLE file holds data set 1 or 2 only: an unencrypted key is a short data set 2.
    const std::string keyFile = folder.File("unencrypted.hwg");
    std::ofstream(keyFile) << "/--- Tarnex and OEM Reader Configuration Template File ---\n"
                              "BEGIN sFldBleData2\n"
                              "00.01.02.03.04.05.06.07\n"
                              "08.09.0A.0B.0C.0D.0E.0F\n"
                              "END sFldBleData2\n";
    reader.WriteBleConfigurationToReader(PyxCommon::BleDataType::UnencryptedKey, keyFile);
    const ReaderModel model = simulator_.Snapshot();
    EXPECT_EQ(model.blob.storedSections, (std::vector<std::uint8_t>{0x04}));
    const std::array<std::uint8_t, 16> expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(model.blob.unencryptedKey, expected);

    // The reader's own 128-byte key is no unencrypted key: refused, and nothing more is stored.
    const std::string wholeKey = folder.File("key.hwg");
    reader.ReadBleConfigurationFromReader(PyxCommon::BleDataType::Key, wholeKey);
    EXPECT_EQ(
        FailureOf(
            [&] { reader.WriteBleConfigurationToReader(PyxCommon::BleDataType::UnencryptedKey, wholeKey); }),
        "Invalid BLE configuration data size. Expected 16 bytes, got 128 bytes.");
    EXPECT_EQ(simulator_.Snapshot().blob.storedSections.size(), 1u);
}

TEST_F(ReaderOperationsTest, HwgFileRoundTripsEveryConfiguration)
{
    Pyx::Reader& reader = Open();
    PyxCommon::ReaderConfiguration configuration;
    configuration.SetDisableKeystroking(true).SetDataHoldTimeMs(200).SetCfgRb3(7);
    WriteConfiguration(reader, 3, configuration);
    TempFolder folder;
    const std::string file = folder.File("reader.hwg");
    reader.ReadHwgFileFromReader(file, true);
    simulator_.Update([](ReaderModel& model) { model.configuration.configurations[3] = {}; });

    reader.WriteHwgFileToReader(file);
    const PyxCommon::ReaderConfiguration loaded = ReadConfiguration(reader, 3);
    EXPECT_EQ(loaded.GetDataHoldTimeMs(), 200);
    EXPECT_TRUE(loaded.GetDisableKeystroking());
    EXPECT_EQ(loaded.GetCfgRb3(), 0); // not carried by the file: the reader's own value
    EXPECT_EQ(Stores(simulator_), 1u + 4u);

    EXPECT_EQ(FailureOf([&] { reader.WriteHwgFileToReader(folder.File("reader.HWG")); }),
              "File '" + folder.File("reader.HWG") + "' is not a valid HWG file.");
    ReportConfigurations(simulator_, 2);
    reader.RefreshMetadata();
    EXPECT_EQ(FailureOf([&] { reader.WriteHwgFileToReader(file); }),
              "Number of configurations in HWG file-4 does not match reader's configuration count-2.");
}

TEST_F(ReaderOperationsTest, OneConfigurationHwgFileKeepsTheReadersCardType)
{
    ReportConfigurations(simulator_, 1);
    Pyx::Reader& reader = Open();
    PyxCommon::ReaderConfiguration configuration;
    configuration.SetDisableKeystroking(true).SetCardType(0x0011).SetHighPriorityCardType(true);
    WriteConfiguration(reader, 0, configuration);
    TempFolder folder;
    reader.ReadHwgFileFromReader(folder.File("one.hwg"), false);

    reader.WriteHwgFileToReader(folder.File("one.hwg"));
    const PyxCommon::ReaderConfiguration loaded = ReadConfiguration(reader, 0);
    EXPECT_EQ(loaded.GetCardType(), 0x0011);
    EXPECT_TRUE(loaded.GetHighPriorityCardType());
}

TEST_F(ReaderOperationsTest, ReaderWithoutConfigurationsTransfersNoHwgFile)
{
    ReportConfigurations(simulator_, 0);
    Pyx::Reader& reader = Open();
    TempFolder folder;
    const std::string file = folder.File("none.hwg");
    EXPECT_EQ(FailureOf([&] { reader.ReadHwgFileFromReader(file, true); }),
              "Reader reports no configurations; HWG file '" + file + "' not transferred.");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(FailureOf([&] { reader.WriteHwgFileToReader(file); }),
              "Reader reports no configurations; HWG file '" + file + "' not transferred.");
}

// Bytes the process holds on the heap now, by whichever allocator serves it.
std::size_t HeapInUse()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

TEST_F(ReaderOperationsTest, ReinitialisingAReaderFreesTheProfileItReplaced)
{
    Pyx::Reader& reader = Open();
    reader.Init();
    simulator_.ClearReceived();
    usb_->Node().ClearReports();
    const std::size_t before = HeapInUse();
    constexpr int kInits = 100;
    for (int i = 0; i < kInits; ++i)
    {
        reader.Init();
        simulator_.ClearReceived();
        usb_->Node().ClearReports();
    }
    // A profile kept per Init would add about 2 kB each: 200 kB over this loop.
    EXPECT_LT(HeapInUse(), before + 32 * 1024);
    EXPECT_TRUE(
        reader.GetReaderCapabilityProfile().HasCapability(Pyx::ReaderCapability::READER_CAPABILITY_BEEPER));
}
} // namespace
} // namespace PyxTest
