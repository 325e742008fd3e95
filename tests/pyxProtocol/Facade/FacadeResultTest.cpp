// How a facade body's failure becomes a result record.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "LogCapture.h"
#include "ProtocolException.h"
#include "ProtocolFacadeResult.h"

namespace
{
using PyxProtocol::RunCheckedFacadeFunction;

TEST(FacadeResult, EachCatchClassFillsItsRecord)
{
    const std::string foreign = "Unknown exception occurred within C++ code. ";
    const std::string longText(3000, 'm');
    struct Case
    {
        std::function<void()> body;
        const char* type;
        std::string message;
        std::string file;
        int line;
        std::string function;
    } cases[] = {
        // The library's own failures keep their origin, each text cut to its field.
        {[&]
         { throw PyxProtocol::ProtocolException(longText, "Cmd.cpp", 77, std::string(300, 'f').c_str()); },
         "TessmarException", longText.substr(0, 2047), "Cmd.cpp", 77, std::string(255, 'f')},
        {[] { throw std::runtime_error("boom"); }, "StdRuntimeError",
         foreign + "This is not an Tessmar exception. Message: 'boom'", "Unknown", -1, "Unknown"},
        {[] { throw std::logic_error("odd"); }, "StdException",
         foreign + "This is not an Tessmar exception. Message: 'odd'", "Unknown", -1, "Unknown"},
        {[] { throw 7; }, "UnknownException", foreign + "Exception does not derive from std::exception",
         "Unknown", -1, "Unknown"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        const ProtocolCommandResult result = RunCheckedFacadeFunction(c.body);
        EXPECT_TRUE(result.HasException);
        EXPECT_STREQ(result.ExceptionType, c.type);
        EXPECT_EQ(std::string(result.Message), c.message);
        EXPECT_EQ(std::string(result.FileName), c.file);
        EXPECT_EQ(result.LineNumber, c.line);
        EXPECT_EQ(std::string(result.FunctionName), c.function);
    }
}

TEST(FacadeResult, SuccessIsAllZeroAndValuesArriveOnlyWithIt)
{
    PyxTest::LogCapture log("PYX_PROTOCOL_LOG_LEVEL", "trace");
    const ProtocolCommandResult success = RunCheckedFacadeFunction([] {});
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&success), sizeof success),
              std::string(sizeof success, '\0'));
    EXPECT_TRUE(log.Contains(
        "[PROTOCOL] Returning result from RunCheckedFacadeFunction, HasException: false, Message: "));

    PyxProtocol::ActiveConfigurationInformation value{};
    value.ActiveConfiguration = 9;
    const auto failing = []() -> PyxProtocol::ActiveConfigurationInformation
    { throw std::runtime_error("x"); };
    EXPECT_TRUE(RunCheckedFacadeFunction(failing, value).HasException);
    EXPECT_EQ(value.ActiveConfiguration, 9);
    EXPECT_FALSE(RunCheckedFacadeFunction(
                     [] {
                         return PyxProtocol::ActiveConfigurationInformation{2, 0, 0, 0};
                     },
                     value)
                     .HasException);
    EXPECT_EQ(value.ActiveConfiguration, 2);
}
} // namespace
