#include <string>

#include "Reader/ReaderCapabilityProfile.h"
#include "SerialReaderFixture.h"

namespace PyxReaderTest
{
namespace
{
using PyxTest::Sim::Fault;
using enum Pyx::ReaderCapability;

// Block 2 byte 7 holds, from bit 4 up: reverse all bytes, extended ASCII, extended output, Dravik.
constexpr std::uint8_t kExtendedAscii = 0x20;
constexpr std::uint8_t kExtendedOutput = 0x40;

void SetBlock2Flags(ReaderModel& model, std::size_t configuration, std::uint8_t flags)
{
    model.configuration.configurations[configuration][1][7] = flags;
}

using ReaderMetadataTest = SerialReaderTest;

TEST_F(ReaderMetadataTest, InitDescribesTheReaderAndLaterReadsCostNothingUntilRefreshed)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.identity.strings[4] = "   \t";
            for (std::size_t configuration = 0; configuration < 4; ++configuration)
            {
                SetBlock2Flags(model, configuration, kExtendedOutput);
            }
            model.configuration.active = 2;
        });
    Open();
    Reader().Init();
    const ReaderMetadataStruct metadata = Reader().GetMetadataStruct(false);

    EXPECT_STREQ(metadata.MicrocontrollerName, "STM32???");
    EXPECT_STREQ(metadata.HardwarePlatformText, "Unknown");
    EXPECT_STREQ(metadata.ProductLineText, "Unknown");
    EXPECT_EQ(metadata.MicrocontrollerNamePresent + metadata.HardwarePlatformTextPresent +
                  metadata.ProductLineTextPresent,
              3);
    EXPECT_STREQ(metadata.DeviceIdText, "0000:0000 ()");
    EXPECT_STREQ(metadata.Esn, "ESN-0123456789");
    EXPECT_STREQ(metadata.PartNumber, "PN-4711");
    EXPECT_STREQ(metadata.ReaderString7, "Firmware 1.2.3");
    EXPECT_EQ(metadata.ReaderString7Present, 1);
    // String 2 is refused by the reader; string 4 is only blanks: kept, but not present.
    EXPECT_STREQ(metadata.ReaderString2, "");
    EXPECT_EQ(metadata.ReaderString2Present, 0);
    EXPECT_STREQ(metadata.ReaderString4, "   \t");
    EXPECT_EQ(metadata.ReaderString4Present, 0);
    EXPECT_EQ(std::uint32_t{metadata.ConfigurationCount}, 4u);
    EXPECT_EQ(metadata.ConfigurationCountPresent, 1);
    EXPECT_EQ(metadata.ProtocolType, static_cast<std::uint8_t>(::ProtocolType::SerialBinary));
    EXPECT_EQ(metadata.InstalledHardwarePresent, 1);
    EXPECT_STREQ(
        metadata.InstalledHardwareText,
        "SAM SE: Supported (Installed)\nRF AMS: Supported (Not installed)\nRF 125: Supported (Installed)\n"
        "RF Legic: Not Supported\nRF BLE: Not Supported\nNXP: Not Supported\nRF HID BLE: Not Supported\n"
        "Felica: Not Supported\nBeeper: Supported (Not installed)\nNano: Not Supported");
    EXPECT_STREQ(metadata.InstalledHardwareText2, metadata.InstalledHardwareText);
    EXPECT_EQ(metadata.ControlFirmwareVersion0Present, metadata.ControlFirmwareVersion0.Version != 0 ? 1 : 0);
    EXPECT_EQ(metadata.ExtendedOutputCapable, 1);
    EXPECT_EQ(metadata.ExtendedAscii, 0);
    // The walk over the configurations ends on configuration 0.
    EXPECT_EQ(simulator_.Snapshot().configuration.active, 0);
    EXPECT_TRUE(
        Reader().GetReaderCapabilityProfile().HasCapability(READER_CAPABILITY_EXTENDED_CONFIGURATION));

    simulator_.ClearReceived();
    Reader().GetMetadataStruct(false);
    EXPECT_TRUE(simulator_.Received().empty());

    // A repopulation is seen by the profile installed earlier.
    simulator_.Update([](ReaderModel& model) { model.identity.partNumber = "ABC-2123-X"; });
    EXPECT_TRUE(Reader().GetReaderCapabilityProfile().HasCapability(READER_CAPABILITY_KEYSTROKING));
    EXPECT_STREQ(Reader().GetMetadataStruct(true).PartNumber, "ABC-2123-X");
    EXPECT_FALSE(simulator_.Received().empty());
    EXPECT_FALSE(Reader().GetReaderCapabilityProfile().HasCapability(READER_CAPABILITY_KEYSTROKING));
}

TEST_F(ReaderMetadataTest, BlockTwoFieldsThatDisagreeAreLeftOutAndConfigurationZeroIsActive)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            SetBlock2Flags(model, 0, kExtendedOutput);
            SetBlock2Flags(model, 1, kExtendedOutput);
            SetBlock2Flags(model, 3, kExtendedOutput | kExtendedAscii);
        });
    Open();
    Reader().Init();
    const ReaderMetadataStruct metadata = Reader().GetMetadataStruct(false);
    EXPECT_EQ(metadata.ExtendedOutputCapable, 0);
    EXPECT_EQ(metadata.ExtendedAscii, 0);
    EXPECT_EQ(simulator_.Snapshot().configuration.active, 0);
    // What was read before the walk stays.
    EXPECT_STREQ(metadata.PartNumber, "PN-4711");
    EXPECT_EQ(metadata.InstalledHardwarePresent, 1);
}

TEST_F(ReaderMetadataTest, AReaderThatAnswersNothingStillInitialises)
{
    Open();
    simulator_.Arm(Fault::Silent({}).Times(0));
    Reader().Init();
    const ReaderMetadataStruct metadata = Reader().GetMetadataStruct(false);
    EXPECT_EQ(metadata.EsnPresent + metadata.PartNumberPresent + metadata.ReaderString7Present +
                  metadata.ConfigurationCountPresent + metadata.InstalledHardwarePresent +
                  metadata.InstalledHardwareTextPresent + metadata.ControlFirmwareVersion0Present,
              0);
    EXPECT_STREQ(metadata.Esn, "");
    EXPECT_STREQ(metadata.InstalledHardwareText, "");
    // What needs no answer is still there, and the reader is initialised.
    EXPECT_STREQ(metadata.DeviceIdText, "0000:0000 ()");
    EXPECT_STREQ(metadata.MicrocontrollerName, "STM32???");
    EXPECT_TRUE(Reader().GetReaderCapabilityProfile().HasCapability(READER_CAPABILITY_KEYSTROKING));
}
} // namespace
} // namespace PyxReaderTest
