#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/WithFeatureReportProtocol/BeepWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetBeeperVolumeWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetBeeperVolumeWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/BeepWithMfp24Protocol.h"
#include "Commands/WithMfp24Protocol/SetBeeperVolumeWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/BeepWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetBeeperVolumeWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetBeeperVolumeWithSerialBinaryProtocol.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::Mfp24Line;
using PyxTest::OutcomeAfter;
using PyxTest::RunOn;
using PyxTest::ScriptedTransport;

constexpr auto kShort = BEEP_DURATION::BEEP_SHORT;
constexpr auto kLong = BEEP_DURATION::BEEP_LONG;

template <typename C> void Exchange(C& command, const Bytes& reply)
{
    RunOn(command, {reply});
}

TEST(BeeperCommands, RequestBytes)
{
    const std::vector<Bytes> any{{0x90, 0x00}};
    struct Case
    {
        const char* name;
        PyxTest::Exchanged exchanged;
        Bytes request;
        std::uint16_t replyLength;
    };
    const Case cases[] = {
        {"three short beeps, FeatureReport",
         RunOn(BeepWithFeatureReportProtocol(3, kShort), any),
         {0x8C, 0x03, 0x03, 0, 0, 0, 0, 0},
         8},
        {"two long beeps, FeatureReport",
         RunOn(BeepWithFeatureReportProtocol(2, kLong), any),
         {0x8C, 0x03, 0x82, 0, 0, 0, 0, 0},
         8},
        {"any duration but 1 is short, FeatureReport",
         RunOn(BeepWithFeatureReportProtocol(1, static_cast<BEEP_DURATION>(7)), any),
         {0x8C, 0x03, 0x01, 0, 0, 0, 0, 0},
         8},
        {"two long beeps, SerialBinary",
         RunOn(BeepWithSerialBinaryProtocol(2, kLong), any),
         {0xFA, 0x0C, 0x03, 0x82, 0x00},
         8},
        {"five short beeps, SerialBinary",
         RunOn(BeepWithSerialBinaryProtocol(5, kShort), any),
         {0xFA, 0x0C, 0x03, 0x05, 0x00},
         8},
        {"two long beeps, Mfp24", RunOn(BeepWithMfp24Protocol(2, kLong), any), Mfp24Line("BL2"), 24},
        {"four short beeps, Mfp24", RunOn(BeepWithMfp24Protocol(4, kShort), any), Mfp24Line("BS4"), 24},
        {"get volume, FeatureReport",
         RunOn(GetBeeperVolumeWithFeatureReportProtocol(), any),
         {0x8C, 0x06, 0, 0, 0, 0, 0, 0},
         8},
        {"get volume, SerialBinary",
         RunOn(GetBeeperVolumeWithSerialBinaryProtocol(), any),
         {0xFA, 0x0C, 0x06, 0x00, 0x00},
         8},
        {"set volume 2, FeatureReport",
         RunOn(SetBeeperVolumeWithFeatureReportProtocol(BeepVolume::VOLUME_2), any),
         {0x8C, 0x86, 0x02, 0, 0, 0, 0, 0},
         8},
        {"set volume 3, Mfp24", RunOn(SetBeeperVolumeWithMfp24Protocol(BeepVolume::VOLUME_3), any),
         Mfp24Line("BV3"), 24},
        {"set volume 1, SerialBinary",
         RunOn(SetBeeperVolumeWithSerialBinaryProtocol(BeepVolume::VOLUME_1), any),
         {0xFA, 0x0C, 0x86, 0x01, 0x00, 0x00},
         8},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.exchanged.sent, std::vector<Bytes>{c.request}) << c.name;
        EXPECT_EQ(c.exchanged.replyLengths, std::vector<std::uint16_t>{c.replyLength}) << c.name;
    }
}

TEST(BeeperCommands, SerialBinaryBeepNamesTheFailingStatusWord)
{
    const struct
    {
        Bytes reply;
        const char* outcome;
    } cases[] = {
        {{0x90, 0x00}, "no exception"},
        {{0x90, 0x00, 0x55}, "no exception"},
        {{0x6E, 0x00}, "ValidateResponse: Beep command received error response: INVALID_CLASS"},
        {{0x6D, 0x00}, "ValidateResponse: Beep command received error response: INVALID_INSTRUCTION"},
        {{0x67, 0x00}, "ValidateResponse: Beep command received error response: P3_INCORRECT"},
        {{0x6B, 0x00}, "ValidateResponse: Beep command received error response: P1_OR_P2_INCORRECT"},
        {{0x6A, 0x82}, "ValidateResponse: Beep command received error response: CARD_NOT_FOUND"},
        {{0x62, 0x00}, "ValidateResponse: Beep command received error response: EEPROM_ERROR"},
        {{0x6A, 0x83}, "ValidateResponse: Beep command received error response: UNKNOWN_ERROR"},
        {{0x90, 0x01}, "ValidateResponse: Beep command received error response: UNKNOWN_ERROR"},
        {{0x90}, "ValidateResponse: Beep command received error response: UNKNOWN_ERROR"},
        {{}, "ValidateResponse: Beep command response was empty."},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(OutcomeAfter(BeepWithSerialBinaryProtocol(1, kShort), {c.reply},
                               &BeepWithSerialBinaryProtocol::ValidateResponse),
                  c.outcome);
    }
    EXPECT_EQ(OutcomeAfter(BeepWithSerialBinaryProtocol(1, kShort), {},
                           &BeepWithSerialBinaryProtocol::ValidateResponse),
              "ValidateResponse: Beep command response was empty.");
}

TEST(BeeperCommands, GetBeeperVolumeDecodesAndRefusesBadReplies)
{
    {
        GetBeeperVolumeWithFeatureReportProtocol command;
        Exchange(command, {0x77, 0x77, 0x03, 0, 0, 0, 0, 0});
        EXPECT_EQ(command.GetResult(), BeepVolume::VOLUME_3) << "echo bytes are not checked";
    }
    {
        GetBeeperVolumeWithSerialBinaryProtocol command;
        Exchange(command, {0x0C, 0x02, 0x90, 0x00});
        command.ValidateResponse();
        EXPECT_EQ(command.GetResult(), BeepVolume::VOLUME_2);
    }
    using GetFeature = GetBeeperVolumeWithFeatureReportProtocol;
    using GetSerial = GetBeeperVolumeWithSerialBinaryProtocol;
    const struct
    {
        const char* name;
        std::string outcome;
        const char* expected;
    } cases[] = {
        {"FeatureReport, not executed", OutcomeAfter(GetFeature(), {}, &GetFeature::GetResult),
         "GetResult: No response has been received. Did you execute the command?"},
        {"FeatureReport, reply too short for the volume",
         OutcomeAfter(GetFeature(), {{0x8C, 0x06}}, &GetFeature::GetResult),
         "GetResult: Invalid response received"},
        {"SerialBinary, not executed", OutcomeAfter(GetSerial(), {}, &GetSerial::ValidateResponse),
         "ValidateResponse: Attempted to get result of GetBeeperVolume before all responses were received"},
        {"SerialBinary, empty reply", OutcomeAfter(GetSerial(), {{}}, &GetSerial::ValidateResponse),
         "ValidateResponse: Response phrase is empty"},
        {"SerialBinary, wrong echo",
         OutcomeAfter(GetSerial(), {{0x0D, 0x02, 0x90, 0x00}}, &GetSerial::ValidateResponse),
         "ValidateResponse: Invalid response phrase"},
        {"SerialBinary, echo without a volume",
         OutcomeAfter(GetSerial(), {{0x0C}}, &GetSerial::ValidateResponse),
         "ValidateResponse: Invalid response phrase"},
        {"SerialBinary, result of a one-byte reply",
         OutcomeAfter(GetSerial(), {{0x0C}}, &GetSerial::GetResult), "GetResult: Invalid response phrase"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.outcome, c.expected) << c.name;
    }
}

TEST(BeeperCommands, SetBeeperVolumeAcceptsOnlyTheExactAcknowledgement)
{
    using SetFeature = SetBeeperVolumeWithFeatureReportProtocol;
    using SetMfp24 = SetBeeperVolumeWithMfp24Protocol;
    using SetSerial = SetBeeperVolumeWithSerialBinaryProtocol;
    constexpr auto v1 = BeepVolume::VOLUME_1;
    constexpr auto v2 = BeepVolume::VOLUME_2;
    const auto featureCheck = &SetFeature::ValidateResponse;
    const auto mfp24Check = &SetMfp24::ValidateResponse;
    const auto serialCheck = &SetSerial::ValidateResponse;
    const Bytes mfpOk = Mfp24Line("RV2");
    Bytes mfpMiddleIgnored = mfpOk;
    mfpMiddleIgnored[10] = 'X';
    Bytes mfpNoCr = mfpOk;
    mfpNoCr[23] = '0';
    const Bytes mfp23(mfpOk.begin(), mfpOk.end() - 1);
    const std::string ok = "no exception";
    const std::string invalid = "ValidateResponse: Invalid response received";
    const struct
    {
        const char* name;
        std::string outcome;
        std::string expected;
    } cases[] = {
        {"FeatureReport, acknowledged with the get code",
         OutcomeAfter(SetFeature(v2), {{0x8C, 0x06, 0, 0, 0, 0, 0, 0}}, featureCheck), ok},
        {"FeatureReport, the set code echoed",
         OutcomeAfter(SetFeature(v2), {{0x8C, 0x86, 0, 0, 0, 0, 0, 0}}, featureCheck), invalid},
        {"FeatureReport, a non-zero tail byte",
         OutcomeAfter(SetFeature(v2), {{0x8C, 0x06, 0, 0, 0, 0, 0, 1}}, featureCheck), invalid},
        {"FeatureReport, short", OutcomeAfter(SetFeature(v2), {{0x8C, 0x06}}, featureCheck), invalid},
        {"FeatureReport, not executed", OutcomeAfter(SetFeature(v2), {}, featureCheck),
         "ValidateResponse: No response received"},
        {"Mfp24, acknowledged", OutcomeAfter(SetMfp24(v2), {mfpOk}, mfp24Check), ok},
        {"Mfp24, bytes 3 to 22 are not checked", OutcomeAfter(SetMfp24(v2), {mfpMiddleIgnored}, mfp24Check),
         ok},
        {"Mfp24, 23 bytes", OutcomeAfter(SetMfp24(v2), {mfp23}, mfp24Check),
         "ValidateResponse: SetBeeperVolume command response was empty."},
        {"Mfp24, not executed", OutcomeAfter(SetMfp24(v2), {}, mfp24Check),
         "ValidateResponse: SetBeeperVolume command response was empty."},
        {"Mfp24, another volume echoed", OutcomeAfter(SetMfp24(v1), {mfpOk}, mfp24Check), invalid},
        {"Mfp24, no CR at the end", OutcomeAfter(SetMfp24(v2), {mfpNoCr}, mfp24Check), invalid},
        {"SerialBinary, acknowledged", OutcomeAfter(SetSerial(v1), {{0x0C, 0x90, 0x00}}, serialCheck), ok},
        {"SerialBinary, error status", OutcomeAfter(SetSerial(v1), {{0x0C, 0x6B, 0x00}}, serialCheck),
         invalid},
        {"SerialBinary, two bytes", OutcomeAfter(SetSerial(v1), {{0x0C, 0x90}}, serialCheck), invalid},
        {"SerialBinary, empty", OutcomeAfter(SetSerial(v1), {{}}, serialCheck),
         "ValidateResponse: SetBeeperVolume command response was empty."},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.outcome, c.expected) << c.name;
    }
}

TEST(BeeperCommands, FailuresCarryTheCommandsSourceFile)
{
    SetBeeperVolumeWithSerialBinaryProtocol command(BeepVolume::VOLUME_1);
    try
    {
        command.ValidateResponse();
        FAIL();
    }
    catch (const ProtocolException& e)
    {
        EXPECT_EQ(e.GetFileName(), "SetBeeperVolumeWithSerialBinaryProtocol.cpp");
        EXPECT_GT(e.GetLineNumber(), 0);
    }
}
} // namespace
