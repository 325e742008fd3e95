// How a facade body's failure becomes a result record.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "LogCapture.h"
#include "Logging/Logger.h"
#include "ProtocolCommandResult.h"
#include "ProtocolException.h"

namespace
{
using PyxProtocol::RunCheckedFacadeFunction;

const std::string kForeign =
    "Unknown exception occurred within C++ code. This is not an Tessmar exception. Message: '";

TEST(FacadeResult, SuccessIsAllZeroAndStillLogged)
{
    if (!PyxCommon::Logger::GetInstance(false, true).ShouldLog("PROTOCOL", 0))
    {
        GTEST_SKIP() << "needs PYX_PROTOCOL_LOG_LEVEL=trace, which the test command sets";
    }
    PyxTest::LogCapture log;
    const ProtocolCommandResult result = RunCheckedFacadeFunction([] {});
    EXPECT_EQ(result.HasException, false);
    EXPECT_EQ(result.LineNumber, 0);
    EXPECT_STREQ(result.ExceptionType, "");
    EXPECT_STREQ(result.Message, "");
    EXPECT_STREQ(result.FileName, "");
    EXPECT_STREQ(result.FunctionName, "");
    EXPECT_TRUE(
        log.Contains("[PROTOCOL] Returning result from RunCheckedFacadeFunction, HasException: false, "
                     "Message: "));
}

TEST(FacadeResult, ForeignFailuresHaveFixedTypesAndNoOrigin)
{
    struct Case
    {
        std::function<void()> body;
        const char* type;
        std::string message;
    };
    const Case cases[] = {
        {[] { throw std::runtime_error("boom"); }, "StdRuntimeError", kForeign + "boom'"},
        {[] { throw std::logic_error("odd"); }, "StdException", kForeign + "odd'"},
        {[] { throw 7; }, "UnknownException",
         "Unknown exception occurred within C++ code. Exception does not derive from std::exception"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        const ProtocolCommandResult result = RunCheckedFacadeFunction(c.body);
        EXPECT_TRUE(result.HasException);
        EXPECT_STREQ(result.ExceptionType, c.type);
        EXPECT_EQ(std::string(result.Message), c.message);
        EXPECT_STREQ(result.FileName, "Unknown");
        EXPECT_EQ(result.LineNumber, -1);
        EXPECT_STREQ(result.FunctionName, "Unknown");
    }
}

TEST(FacadeResult, LibraryFailureKeepsItsOriginCutToTheFields)
{
    const std::string message(3000, 'm');
    const std::string function(300, 'f');
    const ProtocolCommandResult result = RunCheckedFacadeFunction(
        [&] { throw PyxProtocol::ProtocolException(message, "Command.cpp", 77, function.c_str()); });
    EXPECT_TRUE(result.HasException);
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
    EXPECT_EQ(std::string(result.Message), message.substr(0, 2047));
    EXPECT_STREQ(result.FileName, "Command.cpp");
    EXPECT_EQ(result.LineNumber, 77);
    EXPECT_EQ(std::string(result.FunctionName), function.substr(0, 255));
}

TEST(FacadeResult, ValueIsStoredOnlyOnSuccess)
{
    PyxProtocol::ActiveConfigurationInformation value{};
    value.ActiveConfiguration = 9;
    ProtocolCommandResult result = RunCheckedFacadeFunction(
        []() -> PyxProtocol::ActiveConfigurationInformation { throw std::runtime_error("gone"); }, value);
    EXPECT_TRUE(result.HasException);
    EXPECT_EQ(value.ActiveConfiguration, 9);

    result = RunCheckedFacadeFunction(
        []
        {
            PyxProtocol::ActiveConfigurationInformation read{};
            read.ActiveConfiguration = 2;
            return read;
        },
        value);
    EXPECT_FALSE(result.HasException);
    EXPECT_EQ(value.ActiveConfiguration, 2);
}
} // namespace
