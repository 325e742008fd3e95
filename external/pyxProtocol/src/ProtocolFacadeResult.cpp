#include <cstring>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"
#include "Logging/Logger.h"
#include "ProtocolFacadeResult.h"
#include "ProtocolFacadeText.h"

namespace PyxProtocol
{
namespace
{
PyxCommon::Logger& logger = PyxCommon::Logger::GetInstance(false, true);
constexpr int kTraceLevel = 0;

constexpr const char* kForeignPrefix =
    "Unknown exception occurred within C++ code. This is not an Tessmar exception. Message: '";

void RecordForeign(ProtocolCommandResult& result, const char* type, const std::string& message)
{
    result.HasException = true;
    CopyText(result.ExceptionType, type);
    CopyText(result.Message, message);
    CopyText(result.FileName, "Unknown");
    result.LineNumber = -1;
    CopyText(result.FunctionName, "Unknown");
}

// Calls `body`, describing in `result` whatever it throws; `result` is untouched when nothing is thrown.
template <typename Body> void Capture(ProtocolCommandResult& result, Body&& body)
{
    try
    {
        body();
    }
    catch (const TessmarException& error)
    {
        result.HasException = true;
        CopyText(result.ExceptionType, error.GetExceptionType());
        CopyText(result.Message, error.GetMessage());
        CopyText(result.FileName, error.GetFileName());
        result.LineNumber = error.GetLineNumber();
        CopyText(result.FunctionName, error.GetFunctionName());
    }
    catch (const std::runtime_error& error)
    {
        RecordForeign(result, "StdRuntimeError", std::string(kForeignPrefix) + error.what() + "'");
    }
    catch (const std::exception& error)
    {
        RecordForeign(result, "StdException", std::string(kForeignPrefix) + error.what() + "'");
    }
    catch (...)
    {
        RecordForeign(
            result, "UnknownException",
            "Unknown exception occurred within C++ code. Exception does not derive from std::exception");
    }
}
} // namespace

ProtocolCommandResult RunCheckedFacadeFunction(const std::function<void()>& body)
{
    ProtocolCommandResult result{};
    Capture(result, body);
    // Built only when it is written: most processes run without trace lines.
    if (logger.ShouldLog("PROTOCOL", kTraceLevel))
    {
        logger.Trace("PROTOCOL",
                     fmt::format("Returning result from RunCheckedFacadeFunction, HasException: {}, "
                                 "Message: {}",
                                 result.HasException, FieldText(result.Message)));
    }
    return result;
}

ProtocolCommandResult RunCheckedFacadeFunction(const std::function<ActiveConfigurationInformation()>& body,
                                               ActiveConfigurationInformation& value)
{
    ProtocolCommandResult result{};
    Capture(result, [&] { value = body(); });
    return result;
}
} // namespace PyxProtocol
