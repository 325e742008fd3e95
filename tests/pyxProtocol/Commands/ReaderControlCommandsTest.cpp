#include <string>

#include <gtest/gtest.h>

#include "Commands/WithFeatureReportProtocol/ConfigureModuleStateWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/EnableTransparentModeWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetCardAnalyzerStatusWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetTransparentModeStatusWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetCardAnalyzerStatusWithSerialBinaryProtocol.h"
#include "ReaderQueryTestSupport.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::ProtocolFailure;
using PyxTest::Report;
using PyxTest::RunScripted;

constexpr auto kGet = ReaderModuleAction::Get;
constexpr auto kSet = ReaderModuleAction::Set;
constexpr auto kModule3 = static_cast<ReaderModuleId>(3);
constexpr auto kState5 = static_cast<ReaderModuleState>(5);

std::string Show(const TransparentModeStatusInformation& info)
{
    return std::to_string(info.Reported) + " " + std::to_string(static_cast<int>(info.Status)) + " " +
           std::to_string(static_cast<int>(info.State));
}

TEST(ReaderControlCommands, Requests)
{
    const Bytes any = Report({});
    const auto sent = [&](auto&& command) { return RunScripted(command, {any}).at(0); };
    EXPECT_EQ(sent(GetTransparentModeStatusWithFeatureReportProtocol{}), Report({0x8C, 0x00}));
    EXPECT_EQ(sent(EnableTransparentModeWithFeatureReportProtocol{true}), Report({0x8C, 0x80, 0x01}));
    EXPECT_EQ(sent(EnableTransparentModeWithFeatureReportProtocol{false}), Report({0x8C, 0x80, 0x00}));
    EXPECT_EQ(sent(GetCardAnalyzerStatusWithFeatureReportProtocol{}), Report({0x8C, 0x08}));
    EXPECT_EQ(sent(GetCardAnalyzerStatusWithSerialBinaryProtocol{}), (Bytes{0xFA, 0x0C, 0x08, 0x00, 0x00}));
    // Only a set sends the state.
    EXPECT_EQ(sent(ConfigureModuleStateWithFeatureReportProtocol{kGet, kModule3, kState5}),
              Report({0x8C, 0x0B, 0x01, 0x03, 0x00}));
    EXPECT_EQ(sent(ConfigureModuleStateWithFeatureReportProtocol{kSet, kModule3, kState5}),
              Report({0x8C, 0x0B, 0x02, 0x03, 0x05}));
    EXPECT_EQ(sent(ConfigureModuleStateWithFeatureReportProtocol{static_cast<ReaderModuleAction>(7), kModule3,
                                                                 kState5}),
              Report({0x8C, 0x0B, 0x07, 0x03, 0x00}));
}

TEST(ReaderControlCommands, Results)
{
    {
        GetTransparentModeStatusWithFeatureReportProtocol c;
        RunScripted(c, {Report({0x8C, 0x00, 0x02, 0x01})});
        c.ValidateResponse();
        EXPECT_EQ(Show(c.GetResult()), "1 2 1");
    }
    {
        // Eight zero bytes: the reader has nothing to report, which is no failure.
        GetTransparentModeStatusWithFeatureReportProtocol c;
        RunScripted(c, {Report({})});
        c.ValidateResponse();
        EXPECT_EQ(Show(c.GetResult()), "0 0 0");
    }
    {
        EnableTransparentModeWithFeatureReportProtocol c(true);
        RunScripted(c, {Report({0x8C, 0x80, 0x01})});
        EXPECT_NO_THROW(c.ValidateResponse());
    }
    {
        GetCardAnalyzerStatusWithFeatureReportProtocol c;
        RunScripted(c, {Report({0x8C, 0x08, 0x0A, 0x0B})});
        const CardAnalyzerStatus status = c.GetResult();
        EXPECT_EQ(status.FieldA, 0x0A);
        EXPECT_EQ(status.FieldB, 0x0B);
    }
    {
        GetCardAnalyzerStatusWithSerialBinaryProtocol c;
        RunScripted(c, {{0x0C, 0x01, 0x02, 0x90, 0x00}});
        c.ValidateResponse();
        const CardAnalyzerStatus status = c.GetResult();
        EXPECT_EQ(status.FieldA, 1);
        EXPECT_EQ(status.FieldB, 2);
    }
    {
        ConfigureModuleStateWithFeatureReportProtocol c(kGet, kModule3, kState5);
        RunScripted(c, {Report({0x8C, 0x0B, 0xFF, 0x03, 0x05})});
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), kState5);
    }
}

TEST(ReaderControlCommands, EachRefusalNamesItsCause)
{
    // Runs `command` on `replies` and returns what `check` throws.
    const auto refusal = [](auto command, const std::vector<Bytes>& replies, auto check)
    {
        PyxTest::ScriptedTransport transport;
        transport.QueueReplies(replies);
        command.Execute(transport);
        return ProtocolFailure([&] { check(command); });
    };
    const auto vr = [](auto& c) { c.ValidateResponse(); };
    const auto gr = [](auto& c) { c.GetResult(); };
    using Status = GetTransparentModeStatusWithFeatureReportProtocol;
    using Enable = EnableTransparentModeWithFeatureReportProtocol;
    using AnalyzerFr = GetCardAnalyzerStatusWithFeatureReportProtocol;
    using AnalyzerSb = GetCardAnalyzerStatusWithSerialBinaryProtocol;
    using Module = ConfigureModuleStateWithFeatureReportProtocol;
    struct Case
    {
        const char* name;
        std::string outcome;
        std::string expected;
    };
    const Case cases[] = {
        {"status never asked", ProtocolFailure([] { Status{}.ValidateResponse(); }),
         "ValidateResponse: No response has been received."},
        {"status reply of 7 bytes", refusal(Status{}, {Bytes(7, 0x00)}, vr),
         "ValidateResponse: Invalid response phrase size. Expected 8 bytes."},
        {"status wrong echo", refusal(Status{}, {Report({0x8C, 0x01})}, gr),
         "GetResult: Invalid ACK data has been received."},
        {"status decoded without a check", refusal(Status{}, {Bytes{0x8C}}, gr),
         "ValidateResponse: Invalid response phrase size. Expected 8 bytes."},
        {"enable never asked", ProtocolFailure([] { Enable{true}.ValidateResponse(); }),
         "ValidateResponse: No response has been received."},
        {"enable reply of 9 bytes", refusal(Enable{true}, {Bytes(9, 0x8C)}, vr),
         "ValidateResponse: Invalid response phrase size. Expected 8 bytes."},
        {"enable on a reader without it", refusal(Enable{true}, {Report({})}, vr),
         "ValidateResponse: Transparent mode is not supported on this device."},
        {"disable echoed as enable", refusal(Enable{false}, {Report({0x8C, 0x80, 0x01})}, vr),
         "ValidateResponse: Invalid ACK data has been received."},
        {"analyzer never asked", ProtocolFailure([] { AnalyzerFr{}.GetResult(); }),
         "GetResult: No response has been received."},
        {"analyzer wrong echo", refusal(AnalyzerFr{}, {Report({0x8C, 0x09, 1, 2})}, gr),
         "GetResult: Invalid response packet received for GetCardAnalyzerStatus command."},
        {"analyzer reply of 3 bytes", refusal(AnalyzerFr{}, {{0x8C, 0x08, 1}}, gr),
         "GetResult: Invalid response packet received for GetCardAnalyzerStatus command."},
        {"serial analyzer empty", refusal(AnalyzerSb{}, {{}}, vr),
         "ValidateResponse: No response has been received."},
        {"serial analyzer of 6 bytes", refusal(AnalyzerSb{}, {{0x0C, 1, 2, 0x90, 0x00, 0x00}}, vr),
         "ValidateResponse: Invalid response packet received for GetCardAnalyzerStatus command."},
        {"serial analyzer failure status", refusal(AnalyzerSb{}, {{0x0C, 1, 2, 0x6A, 0x82}}, gr),
         "ValidateResponse: Invalid response packet received for GetCardAnalyzerStatus command."},
        {"module empty reply", refusal(Module{kGet, kModule3, kState5}, {{}}, vr),
         "ValidateResponse: No response has been received"},
        {"module reply of 7 bytes", refusal(Module{kGet, kModule3, kState5}, {Bytes(7, 0x8C)}, gr),
         "ValidateResponse: Response packet is too short"},
        {"module without FF",
         refusal(Module{kGet, kModule3, kState5}, {Report({0x8C, 0x0B, 0x00, 0x03, 0x05})}, vr),
         "ValidateResponse: Invalid response packet received from reader after ConfigureModuleState command. "
         "(Does "
         "the reader support this command?)"},
        {"module other module",
         refusal(Module{kSet, kModule3, kState5}, {Report({0x8C, 0x0B, 0xFF, 0x04, 0x05})}, vr),
         "ValidateResponse: Invalid response packet received from reader after ConfigureModuleState command. "
         "(Does "
         "the reader support this command?)"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.outcome, c.expected) << c.name;
    }
}
} // namespace
