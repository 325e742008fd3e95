#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "Commands/WithFeatureReportProtocol/GetESNWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetInstalledHardwareWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetLuidWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetPartNumberWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetStringWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetLuidWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetInstalledHardwareWithMfp24Protocol.h"
#include "Commands/WithMfp24Protocol/GetPartNumberWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/GetESNWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetInstalledHardwareWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetLuidWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetPartNumberWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetStringWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetLuidWithSerialBinaryProtocol.h"
#include "ReaderQueryTestSupport.h"
#include "TransportException.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::Mfp24Line;
using PyxTest::ProtocolFailure;
using PyxTest::Report;
using PyxTest::RunScripted;
using PyxTest::ScriptedTransport;
using PyxTest::Text;

constexpr auto kString3 = GetStringIndex::String3;

// The flags as 18 digits, supported modules 0-9 then installed modules 0-7.
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

TEST(IdentificationCommands, MultiPhraseRequestsCarryTheirSequenceNumbers)
{
    {
        GetESNWithFeatureReportProtocol c;
        EXPECT_EQ(RunScripted(c, {Report({}), Report({}), Report({}), Report({})}),
                  (std::vector<Bytes>{Report({0x8C, 0x05, 0}), Report({0x8C, 0x05, 1}),
                                      Report({0x8C, 0x05, 2}), Report({0x8C, 0x05, 3})}));
    }
    {
        GetESNWithSerialBinaryProtocol c;
        EXPECT_EQ(RunScripted(c, std::vector<Bytes>(5, Bytes{0x08})),
                  (std::vector<Bytes>{{0xFA, 0x08, 0, 0, 0},
                                      {0xFA, 0x08, 1, 0, 0},
                                      {0xFA, 0x08, 2, 0, 0},
                                      {0xFA, 0x08, 3, 0, 0},
                                      {0xFA, 0x08, 4, 0, 0}}));
    }
    {
        GetPartNumberWithFeatureReportProtocol c;
        EXPECT_EQ(
            RunScripted(c, std::vector<Bytes>(3, Report({}))),
            (std::vector<Bytes>{Report({0x8C, 0x01, 0}), Report({0x8C, 0x01, 1}), Report({0x8C, 0x01, 2})}));
    }
    {
        GetPartNumberWithSerialBinaryProtocol c;
        EXPECT_EQ(RunScripted(c, std::vector<Bytes>(3, Bytes{0x0C})),
                  (std::vector<Bytes>{{0xFA, 0x0C, 1, 0, 0}, {0xFA, 0x0C, 1, 1, 0}, {0xFA, 0x0C, 1, 2, 0}}));
    }
    {
        SetLuidWithFeatureReportProtocol c(0x1234);
        ScriptedTransport transport;
        c.Execute(transport);
        EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{Report({0x8A}), Report({0x00, 0x34, 0x12})}));
        EXPECT_EQ(transport.CountOf(ScriptedTransport::Operation::Receive), 0U);
    }
    {
        SetLuidWithSerialBinaryProtocol c(0x1234);
        EXPECT_EQ(RunScripted(c, {{0x06}, {0x90, 0x00}}),
                  (std::vector<Bytes>{{0xFA, 0x06, 0, 0, 2}, {0x34, 0x12}}));
        EXPECT_NO_THROW(c.ValidateResponse());
    }
}

TEST(IdentificationCommands, SinglePhraseRequests)
{
    const auto one = [](auto&& command, const Bytes& reply) { return RunScripted(command, {reply}).at(0); };
    EXPECT_EQ(one(GetPartNumberWithMfp24Protocol{}, {}), Mfp24Line("QRZ01"));
    EXPECT_EQ(one(GetInstalledHardwareWithFeatureReportProtocol{}, Report({})), Report({0x89, 0x05}));
    EXPECT_EQ(one(GetInstalledHardwareWithSerialBinaryProtocol{}, {}), (Bytes{0xFA, 0x09, 0x05, 0x00, 0x00}));
    EXPECT_EQ(one(GetInstalledHardwareWithMfp24Protocol{}, {}), Mfp24Line("QSX07"));
    EXPECT_EQ(one(GetLuidWithFeatureReportProtocol{}, {}), Report({0x8A}));
    EXPECT_EQ(one(GetLuidWithSerialBinaryProtocol{}, {}), (Bytes{0xFA, 0x05, 0x00, 0x00, 0x08}));
}

TEST(IdentificationCommands, TextResults)
{
    {
        // Every byte of the four replies, zero bytes included: the caller's copy ends at the first zero.
        GetESNWithFeatureReportProtocol c;
        const std::vector<Bytes> replies{Report({'A', 'B', 0x00, 'C'}), Report({'D'}), Report({}),
                                         Report({'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'})};
        RunScripted(c, replies);
        EXPECT_EQ(c.GetResult(), Text(replies[0]) + Text(replies[1]) + Text(replies[2]) + Text(replies[3]));
        EXPECT_EQ(c.GetResult().size(), 32U);
    }
    {
        GetESNWithSerialBinaryProtocol c;
        RunScripted(c, {{0x08, '1', 0x00, '2'}, {0x08, 0x08, '3'}, {0x08}, {0x08, 0x00}, {0x08, '4', '5'}});
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), "12\x08"
                                 "345");
    }
    {
        GetPartNumberWithFeatureReportProtocol c;
        RunScripted(
            c, {Report({'P', 'N', '-', '1', '2', '3', '4', '5'}), Report({'6', 0x00, 'X'}), Report({'Y'})});
        EXPECT_EQ(c.GetResult(), "PN-123456");
    }
    {
        GetPartNumberWithSerialBinaryProtocol c;
        RunScripted(c, {{0x0C, 0x41, 0x42, 0, 0, 0, 0, 0, 0},
                        {0x0C, 0x43, 0, 0, 0, 0, 0, 0, 0},
                        {0x0C, 0, 0, 0, 0, 0, 0, 0, 0}});
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), "ABC");
    }
    {
        GetPartNumberWithMfp24Protocol c;
        RunScripted(c, {Mfp24Line("RRZABC-1234            ")});
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), "ABC-1234");
    }
}

TEST(IdentificationCommands, GetStringAsksForPiecesUntilOneHoldsAZeroByte)
{
    {
        GetStringWithFeatureReportProtocol c(kString3);
        EXPECT_EQ(RunScripted(c, {Report({'H', 'E', 'L', 'L', 'O'})}),
                  std::vector<Bytes>{Report({0x8C, 0x04, 3, 0})});
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), "HELLO");
    }
    {
        GetStringWithFeatureReportProtocol c(GetStringIndex::String8);
        EXPECT_EQ(
            RunScripted(c, {Report({'0', '1', '2', '3', '4', '5', '6', '7'}), Report({'8', '9', 'A', 'B'})}),
            (std::vector<Bytes>{Report({0x8C, 0x04, 8, 0}), Report({0x8C, 0x04, 8, 1})}));
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), "0123456789AB");
    }
    {
        // Every 0C byte is the echo and dropped; the text ends at the first zero byte.
        GetStringWithSerialBinaryProtocol c(kString3);
        EXPECT_EQ(RunScripted(c, {{0x0C, 'H', 'E', 'L'}, {0x0C, 'L', 'O', 0x00, 'X', 0x90, 0x00}}),
                  (std::vector<Bytes>{{0xFA, 0x0C, 0x04, 3, 0}, {0xFA, 0x0C, 0x04, 3, 1}}));
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), "HELLO");
    }
}

TEST(IdentificationCommands, GetStringGivesUpAfter256PiecesWithoutAZeroByte)
{
    const Bytes endless = Report({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    {
        GetStringWithFeatureReportProtocol c(kString3);
        ScriptedTransport transport;
        transport.QueueReplies(std::vector<Bytes>(300, endless));
        EXPECT_EQ(ProtocolFailure([&] { c.Execute(transport); }),
                  "HasCommandPhrase: The reader did not end the string within 256 response phrases.");
        ASSERT_EQ(transport.Transmitted().size(), 256U);
        EXPECT_EQ(transport.Transmitted().back(), Report({0x8C, 0x04, 3, 0xFF}));
    }
    {
        GetStringWithSerialBinaryProtocol c(kString3);
        ScriptedTransport transport;
        transport.QueueReplies(std::vector<Bytes>(300, Bytes{0x0C, 'a', 'b'}));
        EXPECT_EQ(ProtocolFailure([&] { c.Execute(transport); }),
                  "HasCommandPhrase: The reader did not end the string within 256 response phrases.");
        EXPECT_EQ(transport.Transmitted().size(), 256U);
    }
    {
        // A refusal in place of the first piece ends the exchange at once.
        GetStringWithSerialBinaryProtocol c(kString3);
        RunScripted(c, {{0x6A, 0x82}});
        EXPECT_EQ(ProtocolFailure([&] { c.ValidateResponse(); }),
                  "ValidateResponse: Invalid ACK received from reader after Get String command");
    }
    {
        // The 256th piece may still end the text.
        GetStringWithFeatureReportProtocol c(kString3);
        std::vector<Bytes> replies(255, endless);
        replies.push_back(Report({'z'}));
        RunScripted(c, replies);
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult().size(), 255U * 8U + 1U);
    }
}

TEST(IdentificationCommands, InstalledHardwareMasks)
{
    {
        GetInstalledHardwareWithMfp24Protocol c;
        // RSX07, six fillers, installed 3F at 11-12, five fillers, support 2FF at 18-20.
        RunScripted(c, {Mfp24Line("RSX070000003F000002FF")});
        c.ValidateResponse();
        EXPECT_EQ(Flags(c.GetResult()), "1111111101 11111100");
    }
    {
        // Lower-case digits count; anything else counts as 0.
        GetInstalledHardwareWithMfp24Protocol c;
        RunScripted(c, {Mfp24Line("RSX07000000aZ000003ff")});
        EXPECT_EQ(Flags(c.GetResult()), "1111111111 00000101");
    }
    {
        // Bits above the tenth support bit are not modules.
        GetInstalledHardwareWithFeatureReportProtocol c;
        RunScripted(c, {Report({0x81, 0xEE, 0xEE, 0xEE, 0x01, 0xFE})});
        EXPECT_EQ(Flags(c.GetResult()), "1000000001 10000001");
    }
    {
        GetInstalledHardwareWithSerialBinaryProtocol c;
        RunScripted(c, {{0x09, 0x05, 0x02, 0, 0, 0, 0x04, 0x01, 0, 0, 0x90, 0x00}});
        c.ValidateResponse();
        EXPECT_EQ(Flags(c.GetResult()), "0010000010 01000000");
    }
}

TEST(IdentificationCommands, LuidFieldsKeepTheirByteOrders)
{
    {
        GetLuidWithFeatureReportProtocol c;
        RunScripted(c, {{0x01, 0x00, 0x02, 0x00, 0x12, 0x34, 0x56, 0x78}});
        c.ValidateResponse();
        const LuidResponseInformation luid = c.GetResult();
        EXPECT_EQ(luid.Field16A, 1);
        EXPECT_EQ(luid.Field16B, 2);
        EXPECT_EQ(luid.Field32, 0x12345678U);
    }
    {
        GetLuidWithSerialBinaryProtocol c;
        RunScripted(c, {{0x05, 0x34, 0x12, 0x78, 0x56, 0xAA, 0xBB, 0xCC, 0xDD, 0x90, 0x00}});
        c.ValidateResponse();
        const LuidResponseInformation luid = c.GetResult();
        EXPECT_EQ(luid.Field16A, 0x1234);
        EXPECT_EQ(luid.Field16B, 0x5678);
        EXPECT_EQ(luid.Field32, 0xAABBCCDDU);
    }
}

// Runs a command on `replies` and returns what `check` throws.
template <typename C>
std::string Refusal(C command, const std::vector<Bytes>& replies, std::function<void(C&)> check)
{
    ScriptedTransport transport;
    transport.QueueReplies(replies);
    command.Execute(transport);
    return ProtocolFailure([&] { check(command); });
}

TEST(IdentificationCommands, EachRefusalNamesItsCause)
{
    using EsnFr = GetESNWithFeatureReportProtocol;
    using EsnSb = GetESNWithSerialBinaryProtocol;
    using PnFr = GetPartNumberWithFeatureReportProtocol;
    using PnSb = GetPartNumberWithSerialBinaryProtocol;
    using PnMfp = GetPartNumberWithMfp24Protocol;
    using StrFr = GetStringWithFeatureReportProtocol;
    using StrSb = GetStringWithSerialBinaryProtocol;
    using HwFr = GetInstalledHardwareWithFeatureReportProtocol;
    using HwSb = GetInstalledHardwareWithSerialBinaryProtocol;
    using HwMfp = GetInstalledHardwareWithMfp24Protocol;
    using LuidFr = GetLuidWithFeatureReportProtocol;
    using LuidSb = GetLuidWithSerialBinaryProtocol;
    using SetSb = SetLuidWithSerialBinaryProtocol;
    const auto vr = [](auto& c) { c.ValidateResponse(); };
    const auto gr = [](auto& c) { c.GetResult(); };
    const Bytes ok8 = Report({});
    const Bytes hw{0x09, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0x90, 0x00};

    struct Case
    {
        const char* name;
        std::string outcome;
        std::string expected;
    };
    const Case cases[] = {
        {"ESN read before the exchange", ProtocolFailure([] { EsnFr{}.GetResult(); }),
         "GetResult: Attempted to get result of GetESN before all responses were received"},
        {"serial ESN piece empty, its index as a number",
         Refusal<EsnSb>(EsnSb{}, {{0x08}, {0x08}, {0x08}, {}, {0x08}}, vr),
         "ValidateResponse: Response phrase at index 3 is empty"},
        {"serial ESN wrong echo", Refusal<EsnSb>(EsnSb{}, {{0x08}, {0x09}, {0x08}, {0x08}, {0x08}}, vr),
         "ValidateResponse: Invalid ACK data received from reader after GetESN command"},
        {"part number read before the exchange", ProtocolFailure([] { PnFr{}.GetResult(); }),
         "GetResult: GetPartNumberWithFeatureReportProtocol::GetResult called before all response phrases "
         "were added"},
        {"serial part number wrong echo", Refusal<PnSb>(PnSb{}, {{0x0C}, {0x6B, 0x00}, {0x0C}}, vr),
         "ValidateResponse: Invalid ACK data received from reader after GetPartNumber command"},
        {"serial part number piece too long, its length as a number",
         Refusal<PnSb>(PnSb{}, {{0x0C}, Bytes(10, 0x0C), {0x0C}}, gr),
         "GetResult: Expected 1-byte ACK and an 8 byte part number in response phrase but received 10 bytes"},
        {"Mfp24 part number short line", Refusal<PnMfp>(PnMfp{}, {Bytes(23, 'R')}, vr),
         "ValidateResponse: ValidateResponse called before all response phrases were added"},
        {"Mfp24 part number wrong letters", Refusal<PnMfp>(PnMfp{}, {Mfp24Line("RRX")}, vr),
         "ValidateResponse: Invalid response received"},
        {"string cut off by a failing transport",
         [&]
         {
             StrFr c{kString3};
             ScriptedTransport transport;
             transport.QueueReply(Report({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
             EXPECT_THROW(c.Execute(transport), PyxTransport::TransportException);
             return ProtocolFailure([&] { c.ValidateResponse(); });
         }(),
         "ValidateResponse: The response received from the device does not contain a null terminator. Did "
         "you read far enough?"},
        {"serial string refused index", Refusal<StrSb>(StrSb{kString3}, {{0x67, 0x00}}, vr),
         "ValidateResponse: Provided index is invalid - out of range for Get String command"},
        {"serial string refused string", Refusal<StrSb>(StrSb{kString3}, {{0x6B, 0x00}}, vr),
         "ValidateResponse: Requested string is invalid - out of range for Get String command"},
        {"serial string one-byte status", Refusal<StrSb>(StrSb{kString3}, {{0x6B, 0x01, 0x00}}, vr),
         "ValidateResponse: Invalid ACK received from reader after Get String command"},
        {"string never asked", ProtocolFailure([] { StrSb{kString3}.ValidateResponse(); }),
         "ValidateResponse: No response received from the device."},
        {"installed hardware short report", Refusal<HwFr>(HwFr{}, {{0x01, 0, 0, 0, 0x01}}, gr),
         "GetResult: Response to GetInstalledHardware command is too short: expected at least 6 bytes but "
         "received 5"},
        {"serial installed hardware empty", Refusal<HwSb>(HwSb{}, {{}}, vr),
         "ValidateResponse: Response phrase is empty"},
        {"serial installed hardware failure status",
         [&]
         {
             Bytes bad = hw;
             bad[10] = 0x6A;
             return Refusal<HwSb>(HwSb{}, {bad}, vr);
         }(),
         "ValidateResponse: Invalid response phrase"},
        {"serial installed hardware cut short", Refusal<HwSb>(HwSb{}, {Bytes(hw.begin(), hw.end() - 1)}, gr),
         "ValidateResponse: Invalid response phrase"},
        {"Mfp24 installed hardware error packet", Refusal<HwMfp>(HwMfp{}, {Mfp24Line("ESX07")}, vr),
         "ValidateResponse: Received an error packet or the reader does not support this command."},
        {"Mfp24 installed hardware other line", Refusal<HwMfp>(HwMfp{}, {Mfp24Line("RSX05")}, vr),
         "ValidateResponse: Invalid response received"},
        {"LUID never asked", ProtocolFailure([] { LuidFr{}.ValidateResponse(); }),
         "ValidateResponse: No response received from device. Was this command actually executed?"},
        {"LUID read before the exchange", ProtocolFailure([] { LuidFr{}.GetResult(); }),
         "GetResult: Command is not finished. Please complete the command before retrieving the result."},
        {"LUID short report", Refusal<LuidFr>(LuidFr{}, {{1, 2, 3, 4, 5, 6, 7}}, gr),
         "GetResult: Response to GetLuid command is too short: expected 8 bytes but received 7"},
        {"serial LUID never asked", ProtocolFailure([] { LuidSb{}.ValidateResponse(); }),
         "ValidateResponse: Attempted to get result of GetLuid before all responses were received."},
        {"serial LUID empty", Refusal<LuidSb>(LuidSb{}, {{}}, vr),
         "ValidateResponse: Empty response has been received after GetLuid command."},
        {"serial LUID one byte short", Refusal<LuidSb>(LuidSb{}, {{0x05, 1, 2, 3, 4, 5, 6, 7, 8, 0x90}}, vr),
         "ValidateResponse: Invalid ACK data received from reader after GetLuid command"},
        {"set LUID timeout", Refusal<SetSb>(SetSb{7}, {{0x6B, 0x00}, {0x90, 0x00}}, vr),
         "ValidateResponse: Reader reports a timeout error (no followup within 100ms => 0x6B) after sending "
         "SetLuid command"},
        {"set LUID status in place of the acknowledgement",
         Refusal<SetSb>(SetSb{7}, {{0x90, 0x00}, {0x90, 0x00}}, vr),
         "ValidateResponse: Invalid ACK received from reader after SetLuid command"},
        {"set LUID empty second reply", Refusal<SetSb>(SetSb{7}, {{0x06}, {}}, vr),
         "ValidateResponse: Empty response has been received from reader after SetLuid command"},
        {"set LUID one-byte status", Refusal<SetSb>(SetSb{7}, {{0x06}, {0x90}}, vr),
         "ValidateResponse: Invalid response received from reader after sending LUID data"},
        {"set LUID never sent", ProtocolFailure([] { SetSb{7}.ValidateResponse(); }),
         "ValidateResponse: Attempted to get result of SetLuid before all responses were received"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.outcome, c.expected) << c.name;
    }
}

TEST(IdentificationCommands, AnEmptyStringPieceStopsTheExchange)
{
    {
        GetStringWithFeatureReportProtocol c(kString3);
        ScriptedTransport transport;
        transport.QueueReplies({{}, Report({})});
        EXPECT_EQ(ProtocolFailure([&] { c.Execute(transport); }),
                  "ReverseSeekNullTerminator: The byte array received by GetStringWithFeatureReportProtocol "
                  "is empty.");
        EXPECT_EQ(transport.PendingReplies(), 1U);
    }
    {
        GetStringWithSerialBinaryProtocol c(kString3);
        ScriptedTransport transport;
        transport.QueueReplies({{0x0C, 'a'}, {}, {0x0C, 0x00}});
        EXPECT_EQ(ProtocolFailure([&] { c.Execute(transport); }),
                  "ReverseSeekNullTerminator: The byte array received by GetStringWithSerialBinaryProtocol "
                  "is empty.");
        EXPECT_EQ(transport.PendingReplies(), 1U);
    }
}
} // namespace
