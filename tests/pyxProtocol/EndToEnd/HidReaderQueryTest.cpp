#include "Commands/WithFeatureReportProtocol/ConfigureModuleStateWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/EnableTransparentModeWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetBluetoothFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetCardAnalyzerStatusWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetControlFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetESNWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetInstalledHardwareWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetLuidWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetPartNumberWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetRadioFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetSamFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetStringWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetSupportedCardsWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetTransparentModeStatusWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetLuidWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetBluetoothFirmwareVersionWithMfp24Protocol.h"
#include "Commands/WithMfp24Protocol/GetInstalledHardwareWithMfp24Protocol.h"
#include "Commands/WithMfp24Protocol/GetPartNumberWithMfp24Protocol.h"
#include "Commands/WithMfp24Protocol/GetSupportedCardsWithMfp24Protocol.h"
#include "ReaderQueryFixture.h"

namespace PyxReaderQueries
{
namespace
{
using namespace PyxProtocol;
using Codes = std::vector<std::uint16_t>;

// Supported flags then installed flags, as digits.
std::string Flags(const InstalledHardwareInformation& info)
{
    std::string flags;
    for (const bool f : info.ModuleSupported)
    {
        flags += f ? '1' : '0';
    }
    flags += ' ';
    for (const bool f : info.ModuleInstalled)
    {
        flags += f ? '1' : '0';
    }
    return flags;
}

// Nine codes: two full FeatureReport pages and one more, two Mfp24 pages.
Codes NineCodes()
{
    return {0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0106, 0x0107, 0x0108, 0x0209};
}

using FeatureReportQueries = PyxTest::OpenedOn<Protocol::FeatureReport, ReaderQueryEndToEnd>;

using Mfp24Queries = PyxTest::OpenedOn<Protocol::Mfp24, ReaderQueryEndToEnd>;

TEST_F(FeatureReportQueries, IdentificationTexts)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.identity.esn = "0123456789ABCDEF0123";
            model.identity.partNumber = "PART-0042-REV-B";
            model.identity.strings[5] = "A string longer than one piece";
        });
    GetESNWithFeatureReportProtocol esn;
    Run(esn);
    EXPECT_EQ(esn.GetResult(), std::string("0123456789ABCDEF0123") + std::string(12, '\0'));

    GetPartNumberWithFeatureReportProtocol partNumber;
    Run(partNumber);
    EXPECT_EQ(partNumber.GetResult(), "PART-0042-REV-B");

    GetStringWithFeatureReportProtocol text(GetStringIndex::String5);
    Run(text);
    text.ValidateResponse();
    EXPECT_EQ(text.GetResult(), "A string longer than one piece");
    // Four pieces of eight: the text and its zero byte.
    EXPECT_EQ(simulator_.Received(Protocol::FeatureReport).back(),
              PyxTest::Sim::FeatureReportPhrase({0x8C, 0x04, 5, 3}));
}

TEST_F(FeatureReportQueries, InstalledHardwareAndIdentifier)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.identity.supportMask = 0x0281;
            model.identity.installedMask = 0x81;
        });
    GetInstalledHardwareWithFeatureReportProtocol hardware;
    Run(hardware);
    EXPECT_EQ(Flags(hardware.GetResult()), "1000000101 10000001");

    SetLuidWithFeatureReportProtocol set(0xBEEF);
    Run(set);
    GetLuidWithFeatureReportProtocol get;
    Run(get);
    get.ValidateResponse();
    const LuidResponseInformation luid = get.GetResult();
    EXPECT_EQ(luid.Field16A, 0xBEEF);
    EXPECT_EQ(luid.Field16B, 0x0304);
    EXPECT_EQ(luid.Field32, 0x05060708U);
}

TEST_F(FeatureReportQueries, FirmwareVersions)
{
    const auto type0 = static_cast<FirmwareVersionModuleType>(0);
    GetControlFirmwareVersionWithFeatureReportProtocol control(type0);
    Run(control);
    EXPECT_EQ(control.GetResult().Version, 0x01020304U);

    GetRadioFirmwareVersionWithFeatureReportProtocol radio(type0);
    Run(radio);
    EXPECT_EQ(radio.GetResult().Version, 0x40302010U);
    EXPECT_EQ(radio.GetResult().ModuleClass, 1);

    GetBluetoothFirmwareVersionWithFeatureReportProtocol bluetooth(type0);
    Run(bluetooth);
    const BluetoothFirmwareVersion bt = bluetooth.GetResult();
    EXPECT_EQ(bt.Field32A, 5U);
    EXPECT_EQ(bt.Field32B, 7U);
    EXPECT_EQ(bt.Field32C, 300U);

    GetSamFirmwareVersionWithFeatureReportProtocol sam(FirmwareVersionModuleType::SamHidSe);
    Run(sam);
    EXPECT_EQ(sam.GetMicrocontrollerResult().Version, 0xA4A3A2A1U);
    EXPECT_EQ(sam.GetFelicaSamResult().Version, 0xA1A2A3A4U);
}

TEST_F(FeatureReportQueries, SupportedCardsPageByPage)
{
    simulator_.Update([](ReaderModel& model) { model.supportedCards.codes = NineCodes(); });
    GetSupportedCardsWithFeatureReportProtocol cards;
    Run(cards);
    EXPECT_EQ(cards.GetResult(), NineCodes());
    EXPECT_EQ(simulator_.Received(Protocol::FeatureReport).size(), 3U);
}

TEST_F(FeatureReportQueries, TransparentModeAnalyzerAndModules)
{
    EnableTransparentModeWithFeatureReportProtocol enable(true);
    Run(enable);
    enable.ValidateResponse();

    GetTransparentModeStatusWithFeatureReportProtocol status;
    Run(status);
    status.ValidateResponse();
    const TransparentModeStatusInformation info = status.GetResult();
    EXPECT_EQ(info.Reported, 1);
    EXPECT_EQ(static_cast<int>(info.Status), 2);
    EXPECT_EQ(static_cast<int>(info.State), 1);

    GetCardAnalyzerStatusWithFeatureReportProtocol analyzer;
    Run(analyzer);
    EXPECT_EQ(analyzer.GetResult().FieldA, 0x11);

    const auto module3 = static_cast<ReaderModuleId>(3);
    ConfigureModuleStateWithFeatureReportProtocol set(ReaderModuleAction::Set, module3,
                                                      static_cast<ReaderModuleState>(4));
    Run(set);
    set.ValidateResponse();
    ConfigureModuleStateWithFeatureReportProtocol get(ReaderModuleAction::Get, module3,
                                                      static_cast<ReaderModuleState>(1));
    Run(get);
    get.ValidateResponse();
    EXPECT_EQ(get.GetResult(), static_cast<ReaderModuleState>(4));
}

TEST_F(FeatureReportQueries, RefusalsOfTheReaderArriveAsTheCommandsMessages)
{
    simulator_.Update([](ReaderModel& model) { model.control.transparentModeSupported = false; });
    EnableTransparentModeWithFeatureReportProtocol enable(true);
    Run(enable);
    EXPECT_EQ(FailureOf([&] { enable.ValidateResponse(); }),
              "Transparent mode is not supported on this device.");

    GetTransparentModeStatusWithFeatureReportProtocol status;
    Run(status);
    EXPECT_EQ(status.GetResult().Reported, 0);

    ConfigureModuleStateWithFeatureReportProtocol unknown(
        ReaderModuleAction::Get, static_cast<ReaderModuleId>(9), static_cast<ReaderModuleState>(1));
    Run(unknown);
    EXPECT_EQ(FailureOf([&] { unknown.ValidateResponse(); }),
              "Invalid response packet received from reader after ConfigureModuleState command. (Does the "
              "reader support this command?)");
}

TEST_F(Mfp24Queries, PartNumberHardwareAndBluetooth)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.identity.partNumber = "ABC-1234";
            model.identity.supportMask = 0x2FF;
            model.identity.installedMask = 0x3F;
            model.firmware.bluetoothMfp24 = "\x01\x02\x03\x04"
                                            "ABCD";
        });
    GetPartNumberWithMfp24Protocol partNumber;
    Run(partNumber);
    partNumber.ValidateResponse();
    EXPECT_EQ(partNumber.GetResult(), "ABC-1234");

    GetInstalledHardwareWithMfp24Protocol hardware;
    Run(hardware);
    hardware.ValidateResponse();
    EXPECT_EQ(Flags(hardware.GetResult()), "1111111101 11111100");

    GetBluetoothFirmwareVersionWithMfp24Protocol bluetooth(static_cast<FirmwareVersionModuleType>(1));
    Run(bluetooth);
    const BluetoothFirmwareVersion bt = bluetooth.GetResult();
    EXPECT_EQ(bt.Field32A, 0x01020304U);
    EXPECT_EQ(bt.Field32B, 0x41424344U);
    EXPECT_EQ(bt.ModuleType, 1);
}

TEST_F(Mfp24Queries, SupportedCardsAndTheReadersRefusal)
{
    simulator_.Update([](ReaderModel& model) { model.supportedCards.codes = NineCodes(); });
    GetSupportedCardsWithMfp24Protocol cards;
    Run(cards);
    cards.ValidateResponse();
    EXPECT_EQ(cards.GetResult(), NineCodes());
    EXPECT_EQ(simulator_.Received(Protocol::Mfp24).back(), PyxTest::Sim::Mfp24Line("QCT01"));

    simulator_.Arm(Fault::ReplaceWith({'Q', 'C', 'T'}, PyxTest::Sim::Mfp24Line("ECT")));
    GetSupportedCardsWithMfp24Protocol refused;
    Run(refused);
    EXPECT_EQ(FailureOf([&] { refused.ValidateResponse(); }),
              "Error called GetSupportedCardsWithMfp24Protocol on ZEK1 reader.");
}
} // namespace
} // namespace PyxReaderQueries
