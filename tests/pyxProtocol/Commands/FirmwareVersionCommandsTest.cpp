#include <string>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "Commands/WithFeatureReportProtocol/GetBluetoothFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetControlFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetRadioFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetSamFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetBluetoothFirmwareVersionWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/GetControlFirmwareVersionWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetRadioFirmwareVersionWithSerialBinaryProtocol.h"
#include "ReaderQueryTestSupport.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::Mfp24Line;
using PyxTest::ProtocolFailure;
using PyxTest::Report;
using PyxTest::RunScripted;

constexpr auto kModule1 = static_cast<FirmwareVersionModuleType>(1);
constexpr auto kModule2 = static_cast<FirmwareVersionModuleType>(2);

std::string Show(const MicrocontrollerFirmwareVersion& v)
{
    // Packed fields are copied out: a reference to one may be misaligned.
    return fmt::format("{:08X} class {} type {}", std::uint32_t{v.Version}, unsigned{v.ModuleClass},
                       unsigned{v.ModuleType});
}

std::string Show(const BluetoothFirmwareVersion& v)
{
    return fmt::format("{:X} {:X} {:X} class {} type {}", std::uint32_t{v.Field32A},
                       std::uint32_t{v.Field32B}, std::uint32_t{v.Field32C}, unsigned{v.ModuleClass},
                       unsigned{v.ModuleType});
}

TEST(FirmwareVersionCommands, RequestsNameTheModuleClassAndType)
{
    const Bytes any = Report({});
    {
        GetControlFirmwareVersionWithFeatureReportProtocol c(kModule1);
        EXPECT_EQ(RunScripted(c, {any}), std::vector<Bytes>{Report({0x89, 0x03, 0x00, 0x01})});
    }
    {
        GetRadioFirmwareVersionWithFeatureReportProtocol c(kModule2);
        EXPECT_EQ(RunScripted(c, {any}), std::vector<Bytes>{Report({0x89, 0x03, 0x01, 0x02})});
    }
    {
        GetBluetoothFirmwareVersionWithFeatureReportProtocol c(kModule1);
        EXPECT_EQ(RunScripted(c, {any}), std::vector<Bytes>{Report({0x89, 0x03, 0x02, 0x01})});
    }
    {
        GetSamFirmwareVersionWithFeatureReportProtocol c(FirmwareVersionModuleType::SamFelica);
        EXPECT_EQ(RunScripted(c, {any}), std::vector<Bytes>{Report({0x89, 0x03, 0x04, 0x03})});
    }
    {
        GetControlFirmwareVersionWithSerialBinaryProtocol c(kModule2);
        EXPECT_EQ(RunScripted(c, {any}), (std::vector<Bytes>{{0xFA, 0x09, 0x03, 0x00, 0x02}}));
    }
    {
        GetRadioFirmwareVersionWithSerialBinaryProtocol c(kModule1);
        EXPECT_EQ(RunScripted(c, {any}), (std::vector<Bytes>{{0xFA, 0x09, 0x03, 0x01, 0x01}}));
    }
    {
        // The Mfp24 request names no module.
        GetBluetoothFirmwareVersionWithMfp24Protocol c(kModule2);
        PyxTest::ScriptedTransport transport;
        transport.QueueReply(Mfp24Line(""));
        c.Execute(transport);
        EXPECT_EQ(transport.Transmitted(), std::vector<Bytes>{Mfp24Line("QSX05")});
        EXPECT_EQ(transport.ReceiveLengths(), std::vector<std::uint16_t>{24});
    }
}

TEST(FirmwareVersionCommands, EachDecoderReadsItsOwnByteOrder)
{
    const Bytes reply = Report({0x89, 0x03, 0x00, 0x01, 0x04, 0x03, 0x02, 0x01});
    {
        GetControlFirmwareVersionWithFeatureReportProtocol c(kModule1);
        RunScripted(c, {reply});
        EXPECT_EQ(Show(c.GetResult()), "01020304 class 0 type 1");
    }
    {
        GetRadioFirmwareVersionWithFeatureReportProtocol c(kModule1);
        RunScripted(c, {{0x89, 0x03, 0x01, 0x02, 0xDD, 0xCC, 0xBB, 0xAA}});
        EXPECT_EQ(Show(c.GetResult()), "AABBCCDD class 1 type 2");
    }
    {
        // One reply, two decodings: the Felica module counts byte 4 highest.
        GetSamFirmwareVersionWithFeatureReportProtocol c(FirmwareVersionModuleType::SamHidSe);
        RunScripted(c, {{0x89, 0x03, 0x04, 0x00, 0x04, 0x03, 0x02, 0x01}});
        EXPECT_EQ(Show(c.GetMicrocontrollerResult()), "01020304 class 4 type 0");
        EXPECT_EQ(Show(c.GetFelicaSamResult()), "04030201 class 4 type 0");
    }
    {
        GetBluetoothFirmwareVersionWithFeatureReportProtocol c(kModule1);
        RunScripted(c, {{0x89, 0x03, 0x02, 0x00, 0x05, 0x07, 0x01, 0x2C}});
        EXPECT_EQ(Show(c.GetResult()), "5 7 12C class 2 type 0");
    }
    {
        // Characters as raw byte values, first highest; class and type are not read from the reply.
        GetBluetoothFirmwareVersionWithMfp24Protocol c(kModule2);
        RunScripted(c, {Mfp24Line("RSX05"
                                  "1234"
                                  "ABCD")});
        EXPECT_EQ(Show(c.GetResult()), "31323334 41424344 0 class 2 type 2");
    }
    {
        GetControlFirmwareVersionWithSerialBinaryProtocol c(kModule1);
        RunScripted(c, {{0x09, 0x03, 0x00, 0x01, 0x04, 0x03, 0x02, 0x01, 0x90, 0x00}});
        c.ValidateResponse();
        EXPECT_EQ(Show(c.GetResult()), "01020304 class 0 type 1");
    }
}

TEST(FirmwareVersionCommands, ShortOrWrongRepliesAreRefused)
{
    const Bytes serialOk{0x09, 0x03, 0x01, 0x00, 1, 2, 3, 4, 0x90, 0x00};
    const auto radioSerial = [](const Bytes& reply, bool decode)
    {
        GetRadioFirmwareVersionWithSerialBinaryProtocol c(kModule1);
        RunScripted(c, {reply});
        return ProtocolFailure([&] { decode ? (void)c.GetResult() : c.ValidateResponse(); });
    };
    struct Case
    {
        const char* name;
        std::string outcome;
        std::string expected;
    };
    const Case cases[] = {
        {"serial status 90 01", radioSerial({0x09, 0x03, 0x01, 0x00, 1, 2, 3, 4, 0x90, 0x01}, false),
         "ValidateResponse: Invalid response phrase"},
        {"serial wrong echo", radioSerial({0x09, 0x04, 0x01, 0x00, 1, 2, 3, 4, 0x90, 0x00}, false),
         "ValidateResponse: Invalid response phrase"},
        {"serial cut before its status", radioSerial(Bytes(serialOk.begin(), serialOk.end() - 1), true),
         "ValidateResponse: Invalid response phrase"},
        {"serial empty", radioSerial({}, false), "ValidateResponse: Response phrase is empty"},
        {"serial read before the exchange",
         ProtocolFailure([]
                         { GetControlFirmwareVersionWithSerialBinaryProtocol(kModule1).ValidateResponse(); }),
         "ValidateResponse: Attempted to get result of GetControlFirmwareVersion before all responses were "
         "received"},
        {"serial radio read before the exchange",
         ProtocolFailure([] { GetRadioFirmwareVersionWithSerialBinaryProtocol(kModule1).GetResult(); }),
         "ValidateResponse: Attempted to get result of GetRadioFirmwareVersion before all responses were "
         "received"},
        {"control report of 7 bytes",
         []
         {
             GetControlFirmwareVersionWithFeatureReportProtocol c(kModule1);
             RunScripted(c, {{0x89, 0x03, 0, 1, 4, 3, 2}});
             return ProtocolFailure([&] { c.GetResult(); });
         }(),
         "GetResult: Invalid response phrase"},
        {"SAM report of 4 bytes",
         []
         {
             GetSamFirmwareVersionWithFeatureReportProtocol c(FirmwareVersionModuleType::SamNxpAvx);
             RunScripted(c, {{0x89, 0x03, 0x04, 0x01}});
             return ProtocolFailure([&] { c.GetFelicaSamResult(); });
         }(),
         "GetFelicaSamResult: Invalid response phrase"},
        {"Bluetooth report of 6 bytes",
         []
         {
             GetBluetoothFirmwareVersionWithFeatureReportProtocol c(kModule1);
             RunScripted(c, {{0x89, 0x03, 0x02, 0x00, 5, 7}});
             return ProtocolFailure([&] { c.GetResult(); });
         }(),
         "GetResult: Invalid response phrase"},
        {"Mfp24 Bluetooth line of 12 characters",
         []
         {
             GetBluetoothFirmwareVersionWithMfp24Protocol c(kModule1);
             RunScripted(c, {Bytes(12, '1')});
             return ProtocolFailure([&] { c.GetResult(); });
         }(),
         "GetResult: Invalid response received: expected at least 13 characters but received 12"},
        {"Mfp24 Bluetooth read before the exchange",
         ProtocolFailure([] { GetBluetoothFirmwareVersionWithMfp24Protocol(kModule1).GetResult(); }),
         "GetResult: Attempted to get result of GetBluetoothFirmwareVersion before all responses were "
         "received"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.outcome, c.expected) << c.name;
    }
}
} // namespace
