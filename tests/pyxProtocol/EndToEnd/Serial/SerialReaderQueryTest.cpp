// Serial readers run in an executable of their own, outside umockdev-run: its preload refuses TIOCEXCL on a
// pseudo-terminal, which the serial port needs to open.
#include "../ReaderQueryFixture.h"
#include "Commands/WithSerialBinaryProtocol/GetCardAnalyzerStatusWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetControlFirmwareVersionWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetESNWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetInstalledHardwareWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetLuidWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetPartNumberWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetRadioFirmwareVersionWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetStringWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetSupportedCardsWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetLuidWithSerialBinaryProtocol.h"

namespace PyxReaderQueries
{
namespace
{
using namespace PyxProtocol;

using SerialQueries = PyxTest::OpenedOn<Protocol::SerialBinary, ReaderQueryEndToEnd>;

TEST_F(SerialQueries, IdentificationTexts)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.identity.esn = "SERIAL-0123456789-ABCDEF";
            model.identity.partNumber = "PN-SERIAL-77";
            model.identity.strings[2] = "Twelve chars";
        });
    GetESNWithSerialBinaryProtocol esn;
    Run(esn);
    esn.ValidateResponse();
    EXPECT_EQ(esn.GetResult(), "SERIAL-0123456789-ABCDEF");

    GetPartNumberWithSerialBinaryProtocol partNumber;
    Run(partNumber);
    partNumber.ValidateResponse();
    EXPECT_EQ(partNumber.GetResult(), "PN-SERIAL-77");

    GetStringWithSerialBinaryProtocol text(GetStringIndex::String2);
    Run(text);
    text.ValidateResponse();
    EXPECT_EQ(text.GetResult(), "Twelve chars");
}

TEST_F(SerialQueries, HardwareIdentifierVersionsAndAnalyzer)
{
    GetInstalledHardwareWithSerialBinaryProtocol hardware;
    Run(hardware);
    hardware.ValidateResponse();
    const InstalledHardwareInformation info = hardware.GetResult();
    EXPECT_TRUE(info.ModuleSupported[8]);
    EXPECT_TRUE(info.ModuleInstalled[2]);
    EXPECT_FALSE(info.ModuleInstalled[1]);

    SetLuidWithSerialBinaryProtocol set(0xCAFE);
    Run(set);
    set.ValidateResponse();
    GetLuidWithSerialBinaryProtocol get;
    Run(get);
    get.ValidateResponse();
    EXPECT_EQ(get.GetResult().Field16A, 0xCAFE);
    EXPECT_EQ(get.GetResult().Field32, 0x05060708U);

    GetControlFirmwareVersionWithSerialBinaryProtocol control(static_cast<FirmwareVersionModuleType>(0));
    Run(control);
    control.ValidateResponse();
    EXPECT_EQ(control.GetResult().Version, 0x01020304U);
    GetRadioFirmwareVersionWithSerialBinaryProtocol radio(static_cast<FirmwareVersionModuleType>(0));
    Run(radio);
    radio.ValidateResponse();
    EXPECT_EQ(radio.GetResult().Version, 0x40302010U);

    GetCardAnalyzerStatusWithSerialBinaryProtocol analyzer;
    Run(analyzer);
    analyzer.ValidateResponse();
    EXPECT_EQ(analyzer.GetResult().FieldB, 0x22);
}

TEST_F(SerialQueries, SupportedCardsPageByPage)
{
    const std::vector<std::uint16_t> codes{0x0011, 0x0012, 0x0013, 0x0014, 0x0115, 0x0116};
    simulator_.Update([&](ReaderModel& model) { model.supportedCards.codes = codes; });
    GetSupportedCardsWithSerialBinaryProtocol cards;
    Run(cards);
    cards.ValidateResponse();
    EXPECT_EQ(cards.GetResult(), codes);
    EXPECT_EQ(simulator_.Received(Protocol::SerialBinary).size(), 2U);
}

TEST_F(SerialQueries, ReaderFailuresArriveAsTheCommandsMessages)
{
    {
        GetStringWithSerialBinaryProtocol absent(GetStringIndex::String4);
        Run(absent);
        EXPECT_EQ(FailureOf([&] { absent.ValidateResponse(); }),
                  "Requested string is invalid - out of range for Get String command");
    }
    {
        // A failure status in place of the second page ends the paging at once.
        simulator_.Update([](ReaderModel& model) { model.supportedCards.codes.assign(12, 0x0101); });
        simulator_.ClearReceived();
        simulator_.Arm(Fault::ReplaceWith({0xFA, 0x09, 0x04}, {0x6A, 0x82}).After(1));
        GetSupportedCardsWithSerialBinaryProtocol cards;
        Run(cards);
        EXPECT_EQ(FailureOf([&] { cards.ValidateResponse(); }),
                  "Invalid ACK data received from reader after GetSupportedCards command (response phrase at "
                  "index 1)");
        EXPECT_EQ(simulator_.Received(Protocol::SerialBinary).size(), 2U);
    }
    {
        simulator_.Arm(Fault::ShortReply({0xFA, 0x09, 0x03}, 9));
        GetControlFirmwareVersionWithSerialBinaryProtocol control(static_cast<FirmwareVersionModuleType>(0));
        Run(control);
        EXPECT_EQ(FailureOf([&] { control.ValidateResponse(); }), "Invalid response phrase");
    }
    {
        simulator_.Arm(Fault::Status({0xFA, 0x06}, 0x6B, 0x00));
        SetLuidWithSerialBinaryProtocol set(1);
        Run(set);
        EXPECT_EQ(FailureOf([&] { set.ValidateResponse(); }),
                  "Reader reports a timeout error (no followup within 100ms => 0x6B) after sending SetLuid "
                  "command");
    }
}
} // namespace
} // namespace PyxReaderQueries
