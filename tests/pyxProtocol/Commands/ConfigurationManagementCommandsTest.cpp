#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/WithFeatureReportProtocol/CopyConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/LoadStoredDefaultsWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/WriteConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/CopyConfigurationWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/CopyConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/LoadStoredDefaultsWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/WriteConfigurationWithSerialBinaryProtocol.h"
#include "RecordingTimeDelay.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::ExpectValidation;
using PyxTest::Mfp24Line;
using PyxTest::NotRun;
using PyxTest::ProtocolFailure;
using PyxTest::RunOn;
using PyxTest::ScriptedTransport;
using Loc = ConfigurationLocation;

std::unique_ptr<PyxTest::RecordingTimeDelay> NoWait()
{
    return std::make_unique<PyxTest::RecordingTimeDelay>();
}

template <typename C> void Exchange(C& command, const Bytes& reply)
{
    RunOn(command, {reply});
}

TEST(ConfigurationManagementCommands, RequestBytesAndReplyReads)
{
    const std::vector<Bytes> any{{0x90, 0x00}};
    const struct
    {
        const char* name;
        PyxTest::Exchanged exchanged;
        Bytes request;
        std::vector<std::uint16_t> receives;
    } cases[] = {
        {"GetActiveConfiguration, FeatureReport",
         RunOn(GetActiveConfigurationWithFeatureReportProtocol(), any),
         {0x89, 0x01, 0, 0, 0, 0, 0, 0},
         {8}},
        {"GetActiveConfiguration, SerialBinary",
         RunOn(GetActiveConfigurationWithSerialBinaryProtocol(), any),
         {0xFA, 0x09, 0x01, 0x00, 0x00},
         {8}},
        {"SetActiveConfiguration 2, FeatureReport",
         RunOn(SetActiveConfigurationWithFeatureReportProtocol(2), any),
         {0x89, 0x81, 0x02, 0, 0, 0, 0, 0},
         {8}},
        {"SetActiveConfiguration 3, SerialBinary",
         RunOn(SetActiveConfigurationWithSerialBinaryProtocol(3), any),
         {0xFA, 0x09, 0x81, 0x03, 0x00},
         {8}},
        {"WriteConfiguration, FeatureReport",
         RunOn(WriteConfigurationWithFeatureReportProtocol(), any),
         {0x90, 0, 0, 0, 0, 0, 0, 0},
         {}},
        {"WriteConfiguration with the LUID, SerialBinary",
         RunOn(WriteConfigurationWithSerialBinaryProtocol(1), any),
         {0xFA, 0x02, 0x80, 0x00, 0x00},
         {8}},
        {"WriteConfiguration without the LUID, SerialBinary",
         RunOn(WriteConfigurationWithSerialBinaryProtocol(0), any),
         {0xFA, 0x02, 0x00, 0x00, 0x00},
         {8}},
        {"LoadStoredDefaults, FeatureReport",
         RunOn(LoadStoredDefaultsWithFeatureReportProtocol(), any),
         {0xA0, 0, 0, 0, 0, 0, 0, 0},
         {}},
        {"LoadStoredDefaults, SerialBinary",
         RunOn(LoadStoredDefaultsWithSerialBinaryProtocol(), any),
         {0xFA, 0x03, 0x00, 0x00, 0x00},
         {8}},
        {"CopyConfiguration, FeatureReport",
         RunOn(CopyConfigurationWithFeatureReportProtocol(Loc::FactoryDefaults, Loc::RAM, 0xAB, 0xCD), any),
         {0x89, 0x82, 0x03, 0x00, 0xAB, 0xCD, 0x00, 0x00},
         {8}},
        {"CopyConfiguration, SerialBinary",
         RunOn(CopyConfigurationWithSerialBinaryProtocol(Loc::Stored1, Loc::Stored2, 0xAB, 0xCD, NoWait()),
               any),
         {0xFA, 0x09, 0x82, 0x01, 0x02, 0xAB, 0xCD},
         {8}},
        {"CopyConfiguration from the second stored location to RAM, Mfp24",
         RunOn(CopyConfigurationWithMfp24Protocol(Loc::Stored2, Loc::RAM), any),
         Mfp24Line("FD"),
         {24}},
        {"CopyConfiguration from the first stored location to RAM, Mfp24",
         RunOn(CopyConfigurationWithMfp24Protocol(Loc::Stored1, Loc::RAM), any),
         Mfp24Line("FR"),
         {24}},
        {"CopyConfiguration from RAM to the first stored location, Mfp24",
         RunOn(CopyConfigurationWithMfp24Protocol(Loc::RAM, Loc::Stored1), any),
         Mfp24Line("FW"),
         {24}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.exchanged.sent, std::vector<Bytes>{c.request}) << c.name;
        EXPECT_EQ(c.exchanged.replyLengths, c.receives) << c.name;
    }
}

TEST(GetActiveConfiguration, FieldsDecodeAlikeWithField16LowFirstOnFeatureReportAndHighFirstOnSerialBinary)
{
    const ActiveConfigurationInformation expected{0, 4, 0x1234, 7};

    GetActiveConfigurationWithFeatureReportProtocol featureReport;
    Exchange(featureReport, {0x89, 0x01, 0x00, 0x04, 0x00, 0x34, 0x12, 0x07});
    featureReport.ValidateResponse();
    EXPECT_EQ(featureReport.GetResult(), expected);

    GetActiveConfigurationWithSerialBinaryProtocol serialBinary;
    Exchange(serialBinary, {0x09, 0x01, 0x00, 0x04, 0x00, 0x12, 0x34, 0x07, 0x90});
    serialBinary.ValidateResponse();
    EXPECT_EQ(serialBinary.GetResult(), expected);
}

TEST(GetActiveConfiguration, FeatureReportFailures)
{
    const std::string noResponse = "Response validation of ActiveConfigurationInformation failed because the "
                                   "command did not receive a response from the reader.";
    ExpectValidation(
        [] { return GetActiveConfigurationWithFeatureReportProtocol(); },
        {NotRun("ValidateResponse: Response validation of ActiveConfigurationInformation cannot "
                "occur until the command is finished."),
         {"seven bytes", {0x89, 0x01, 0, 4, 0, 0x34, 0x12}, "ValidateResponse: " + noResponse},
         {"nine bytes", {0x89, 0x01, 0, 4, 0, 0x34, 0x12, 7, 0}, "ValidateResponse: " + noResponse},
         {"empty", {}, "ValidateResponse: " + noResponse},
         {"wrong sub-command",
          {0x89, 0x81, 0, 4, 0, 0x34, 0x12, 7},
          "ValidateResponse: Invalid response packet received for GetActiveConfiguration command."},
         {"good", {0x89, 0x01, 0, 4, 0, 0x34, 0x12, 7}, "no exception"}});
    GetActiveConfigurationWithFeatureReportProtocol notRun;
    EXPECT_EQ(ProtocolFailure([&] { notRun.GetResult(); }), "GetResult: " + noResponse);
    GetActiveConfigurationWithFeatureReportProtocol shortReply;
    Exchange(shortReply, {0x89, 0x01, 0, 4});
    EXPECT_EQ(ProtocolFailure([&] { shortReply.GetResult(); }), "GetResult: " + noResponse);
}

TEST(GetActiveConfiguration, SerialBinaryFailures)
{
    const std::string tooShort = "Response too short for GetActiveConfiguration command.";
    ExpectValidation(
        [] { return GetActiveConfigurationWithSerialBinaryProtocol(); },
        {NotRun("ValidateResponse: No response received for GetActiveConfiguration command."),
         {"empty", {}, "ValidateResponse: " + tooShort},
         {"eight bytes", {0x09, 0x01, 0, 4, 0, 0x12, 0x34, 7}, "ValidateResponse: " + tooShort},
         {"wrong P1 echo",
          {0x09, 0x81, 0, 4, 0, 0x12, 0x34, 7, 0x90, 0x00},
          "ValidateResponse: Invalid ACK data received from reader after GetActiveConfiguration command."},
         {"error status word is not examined",
          {0x09, 0x01, 0, 4, 0, 0x12, 0x34, 7, 0x6A, 0x82},
          "no exception"}});
    GetActiveConfigurationWithSerialBinaryProtocol notRun;
    EXPECT_EQ(ProtocolFailure([&] { notRun.GetResult(); }),
              "GetResult: No response received for GetActiveConfiguration command.");
    GetActiveConfigurationWithSerialBinaryProtocol shortReply;
    Exchange(shortReply, {0x09, 0x01, 0, 4});
    EXPECT_EQ(ProtocolFailure([&] { shortReply.GetResult(); }), "GetResult: " + tooShort);
}

TEST(SetActiveConfiguration, SerialBinaryFailures)
{
    const std::string invalid =
        "ValidateResponse: Invalid ACK data received from reader after SetActiveConfiguration command";
    ExpectValidation([] { return SetActiveConfigurationWithSerialBinaryProtocol(1); },
                     {NotRun("ValidateResponse: Attempted to get result of SetActiveConfiguration before all "
                             "responses were received"),
                      {"empty", {}, "ValidateResponse: SetActiveConfiguration command response was empty."},
                      {"good", {0x09, 0x81, 1, 0, 0, 0, 0, 0, 0x90, 0x00}, "no exception"},
                      {"wrong echo", {0x09, 0x01, 1, 0, 0, 0, 0, 0, 0x90, 0x00}, invalid},
                      {"error status", {0x09, 0x81, 1, 0, 0, 0, 0, 0, 0x6B, 0x00}, invalid},
                      {"cut after SW1", {0x09, 0x81, 1, 0, 0, 0, 0, 0, 0x90}, invalid},
                      {"status word alone", {0x90, 0x00}, invalid}});
}

TEST(WriteConfiguration, SerialBinaryAcceptsExactlyTheSuccessWord)
{
    const std::string invalid =
        "ValidateResponse: Invalid response has been received from reader after WriteConfiguration command";
    const std::string empty =
        "ValidateResponse: Empty response has been received from reader after WriteConfiguration command";
    ExpectValidation([] { return WriteConfigurationWithSerialBinaryProtocol(0); }, {NotRun(empty)});
    ExpectValidation([] { return WriteConfigurationWithSerialBinaryProtocol(1); },
                     {{"success", {0x90, 0x00}, "no exception"},
                      {"empty", {}, empty},
                      {"SW1 alone", {0x90}, invalid},
                      {"trailing byte", {0x90, 0x00, 0x00}, invalid},
                      {"EEPROM error", {0x62, 0x00}, invalid}});
}

TEST(LoadStoredDefaults, SerialBinaryFailures)
{
    const std::string invalid =
        "ValidateResponse: Invalid ACK data received from reader after LoadStoredDefaults command";
    ExpectValidation(
        [] { return LoadStoredDefaultsWithSerialBinaryProtocol(); },
        {NotRun("ValidateResponse: LoadStoredDefaults did not get response data to validate response."),
         {"success", {0x90, 0x00}, "no exception"},
         {"only the first two bytes count", {0x90, 0x00, 0x55}, "no exception"},
         {"empty", {}, "ValidateResponse: LoadStoredDefaults command response was empty."},
         {"SW1 alone", {0x90}, invalid},
         {"error status", {0x6D, 0x00}, invalid}});
}

TEST(WriteAndLoadStoredDefaults, FeatureReportLeavesAQueuedReplyUnread)
{
    ScriptedTransport transport;
    transport.QueueReply({0x90, 0x00});
    WriteConfigurationWithFeatureReportProtocol write;
    write.Execute(transport);
    LoadStoredDefaultsWithFeatureReportProtocol load;
    load.Execute(transport);
    EXPECT_EQ(transport.PendingReplies(), 1u);
    EXPECT_EQ(write.ResponsePhraseCount(), 0u);
    EXPECT_EQ(load.ResponsePhraseCount(), 0u);
}

TEST(CopyConfiguration, FeatureReportExpectsTheRequestEchoed)
{
    const std::string mismatch = "ValidateResponse: Response from reader did not match expected response for "
                                 "CopyConfiguration command.";
    ExpectValidation([] { return CopyConfigurationWithFeatureReportProtocol(Loc::RAM, Loc::Stored1, 1, 2); },
                     {NotRun(mismatch),
                      {"echo", {0x89, 0x82, 0x00, 0x01, 0x01, 0x02, 0x00, 0x00}, "no exception"},
                      {"other extra byte", {0x89, 0x82, 0x00, 0x01, 0x01, 0x03, 0x00, 0x00}, mismatch},
                      {"other destination", {0x89, 0x82, 0x00, 0x02, 0x01, 0x02, 0x00, 0x00}, mismatch},
                      {"non-zero tail", {0x89, 0x82, 0x00, 0x01, 0x01, 0x02, 0x00, 0x01}, mismatch},
                      {"cut short", {0x89, 0x82, 0x00, 0x01, 0x01, 0x02}, mismatch},
                      {"empty", {}, mismatch}});
}

// Records, at each wait, how many transport calls had been made, so a test can place the wait in the
// exchange.
class WaitPlacement : public PyxCommon::TimeDelay
{
public:
    explicit WaitPlacement(const ScriptedTransport& transport, std::vector<std::pair<int, std::size_t>>& log)
        : transport_(transport), log_(log)
    {
    }
    void DelayMilliseconds(int milliseconds) override
    {
        log_.emplace_back(milliseconds, transport_.Calls().size());
    }

private:
    const ScriptedTransport& transport_;
    std::vector<std::pair<int, std::size_t>>& log_;
};

TEST(CopyConfiguration, SerialBinaryWaitsFiftyMillisecondsBetweenSendingAndReading)
{
    ScriptedTransport transport;
    transport.QueueReply({0x09, 0x00, 0x02, 0x00, 0x00, 0x00, 0x90, 0x00});
    std::vector<std::pair<int, std::size_t>> waits;
    CopyConfigurationWithSerialBinaryProtocol command(Loc::Stored2, Loc::RAM, 0, 0,
                                                      std::make_unique<WaitPlacement>(transport, waits));
    command.Execute(transport);
    // One wait of 50 ms, after the transmit (one call made) and before the receive.
    EXPECT_EQ(waits, (std::vector<std::pair<int, std::size_t>>{{50, 1}}));
    EXPECT_EQ(transport.CountOf(ScriptedTransport::Operation::Receive), 1u);
    command.ValidateResponse();
    EXPECT_EQ(waits.size(), 1u) << "checking the reply must not wait again";
}

TEST(CopyConfiguration, SerialBinaryWaitGoesThroughTheGivenDelay)
{
    auto delay = NoWait();
    auto* recorded = delay.get();
    CopyConfigurationWithSerialBinaryProtocol command(Loc::RAM, Loc::Stored1, 0, 0, std::move(delay));
    Exchange(command, {0x09, 0x00, 0x00, 0x01, 0x00, 0x00, 0x90, 0x00});
    using Wait = PyxTest::RecordingTimeDelay::Wait;
    EXPECT_EQ(recorded->Waits(), (std::vector<Wait>{{Wait::Unit::Milliseconds, 50}}));
}

TEST(CopyConfiguration, SerialBinaryFailures)
{
    const std::string mismatch = "ValidateResponse: Response from reader did not match expected response for "
                                 "CopyConfiguration command.";
    ExpectValidation(
        [] { return CopyConfigurationWithSerialBinaryProtocol(Loc::Stored1, Loc::Stored2, 7, 8, NoWait()); },
        {NotRun("ValidateResponse: CopyConfiguration did not get response data to validate response."),
         {"success", {0x09, 0x00, 0x01, 0x02, 0x07, 0x08, 0x90, 0x00}, "no exception"},
         {"empty", {}, "ValidateResponse: CopyConfiguration command response was empty."},
         {"request sub-command echoed", {0x09, 0x82, 0x01, 0x02, 0x07, 0x08, 0x90, 0x00}, mismatch},
         {"other source", {0x09, 0x00, 0x02, 0x02, 0x07, 0x08, 0x90, 0x00}, mismatch},
         {"error status", {0x09, 0x00, 0x01, 0x02, 0x07, 0x08, 0x6A, 0x82}, mismatch},
         {"cut after SW1", {0x09, 0x00, 0x01, 0x02, 0x07, 0x08, 0x90}, mismatch}});
}

TEST(CopyConfiguration, Mfp24RefusesAnUnknownPairBeforeSending)
{
    for (const auto& [source, destination] :
         {std::pair{Loc::Stored1, Loc::Stored2}, std::pair{Loc::RAM, Loc::Stored2},
          std::pair{Loc::FactoryDefaults, Loc::RAM}})
    {
        ScriptedTransport transport;
        CopyConfigurationWithMfp24Protocol command(source, destination);
        try
        {
            command.Execute(transport);
            ADD_FAILURE() << "no exception";
        }
        catch (const std::invalid_argument& e)
        {
            EXPECT_STREQ(e.what(), "Invalid source and destination combination");
        }
        EXPECT_TRUE(transport.Calls().empty());
        EXPECT_THROW(command.ValidateResponse(), std::invalid_argument);
    }
}

TEST(CopyConfiguration, Mfp24Replies)
{
    const std::string invalid = "ValidateResponse: CopyConfiguration Mfp24 command response is invalid.";
    Bytes anyMiddle = Mfp24Line("RD0");
    anyMiddle[10] = 'x';
    Bytes noCr = Mfp24Line("RD0");
    noCr[23] = '0';
    Bytes longer = Mfp24Line("RD0");
    longer.push_back(0x0D);
    ExpectValidation([] { return CopyConfigurationWithMfp24Protocol(Loc::Stored2, Loc::RAM); },
                     {NotRun(invalid),
                      {"answer", Mfp24Line("RD0"), "no exception"},
                      {"bytes 3 to 22 are free", anyMiddle, "no exception"},
                      {"other letter", Mfp24Line("RW0"), invalid},
                      {"not R first", Mfp24Line("FD0"), invalid},
                      {"not 0 third", Mfp24Line("RD1"), invalid},
                      {"no CR", noCr, invalid},
                      {"23 bytes", Bytes(anyMiddle.begin(), anyMiddle.end() - 1), invalid},
                      {"25 bytes", longer, invalid},
                      {"empty", {}, invalid}});
}
} // namespace
