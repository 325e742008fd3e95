#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string_view>
#include <utility>

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"
#include "Reader/PyxResult.h"
#include "Reader/ReaderException.h"
#include "Utilities/CapabilityGuard.h"

// The frame every C function runs in: the outcome texts, the null-argument report and the two wrappers that
// turn whatever the class interface throws into a filled PyxResult. Nothing here throws or logs.
namespace Pyx::CInterface
{
// The C interface's own source file, as its outcomes name it; Reader_C.cpp proves it is its own name.
inline constexpr std::string_view kSourceFileName = "Reader_C.cpp";

// Lines recorded by the wrappers.
inline constexpr int kLineMethodSuccess = 75;
inline constexpr int kLineMethodStdException = 97;
inline constexpr int kLineMethodUnknownException = 104;
inline constexpr int kLineWithReturnSuccess = 113;
inline constexpr int kLineWithReturnStdException = 134;
inline constexpr int kLineWithReturnUnknownException = 142;

// Copies `text` up to its first zero byte, cut to N - 1 characters, the rest of the field zero.
template <std::size_t N> void CopyText(char (&field)[N], std::string_view text)
{
    static_assert(N > 0);
    std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    // An empty view may have no storage at all, which memchr and memcpy must not be given.
    if (length > 0)
    {
        if (const void* zero = std::memchr(text.data(), '\0', length); zero != nullptr)
        {
            length = static_cast<std::size_t>(static_cast<const char*>(zero) - text.data());
        }
        std::memcpy(field, text.data(), length);
    }
    std::memset(field + length, 0, N - length);
}

// A reused record never shows a protocol failure of an earlier call.
inline void ClearProtocolPart(PyxResult& result)
{
    result.HasProtocolException = 0;
    CopyText(result.ProtocolExceptionType, {});
    CopyText(result.ProtocolMessage, {});
    CopyText(result.ProtocolFileName, {});
    result.ProtocolLineNumber = 0;
    CopyText(result.ProtocolFunctionName, {});
}

// Writes the outcome part (and clears the protocol part).
inline void SetOutcome(PyxResult& result, std::uint8_t code, std::string_view type, std::string_view message,
                       std::string_view file, int line, std::string_view function)
{
    result.ResultCode = code;
    CopyText(result.ExceptionType, type);
    CopyText(result.Message, message);
    CopyText(result.FileName, file);
    result.LineNumber = line;
    CopyText(result.FunctionName, function);
    ClearProtocolPart(result);
}

// An argument refused before any work: no type, the check's message and line, the exported name.
inline void ReportRefusedArgument(PyxResult& result, std::string_view message, int line, const char* function)
{
    SetOutcome(result, 1, {}, message, kSourceFileName, line, function);
}

// "Called with null <argument>"; true when `pointer` was null and the call must return.
inline bool ReportIfNull(PyxResult& result, const void* pointer, std::string_view argument, int line,
                         const char* function)
{
    if (pointer != nullptr)
    {
        return false;
    }
    // Formatted without allocating, so the report itself cannot fail.
    char message[128];
    std::snprintf(message, sizeof message, "Called with null %.*s", static_cast<int>(argument.size()),
                  argument.data());
    ReportRefusedArgument(result, message, line, function);
    return true;
}

// Fills `result` from a caught exception; `stdLine` and `unknownLine` are the wrapper's own lines.
inline void ReportCurrentException(PyxResult& result, const char* operationName, const char* wrapperName,
                                   int stdLine, int unknownLine) noexcept
{
    try
    {
        throw;
    }
    catch (const Pyx::ReaderException& e)
    {
        e.PopulatePyxResult(result);
    }
    catch (const TessmarException& e)
    {
        SetOutcome(result, 1, e.GetExceptionType(), e.GetMessage(), e.GetFileName(), e.GetLineNumber(),
                   e.GetFunctionName());
    }
    catch (const std::exception& e)
    {
        try
        {
            SetOutcome(result, 1, "StdException",
                       fmt::format("Standard exception in {}: {}", operationName, e.what()), kSourceFileName,
                       stdLine, wrapperName);
        }
        catch (...)
        {
            // No memory left for the message: the type still tells what happened.
            SetOutcome(result, 1, "StdException", {}, kSourceFileName, stdLine, wrapperName);
        }
    }
    catch (...)
    {
        try
        {
            SetOutcome(result, 1, "UnknownException",
                       fmt::format("An unexpected error occurred in {}.", operationName), kSourceFileName,
                       unknownLine, wrapperName);
        }
        catch (...)
        {
            SetOutcome(result, 1, "UnknownException", {}, kSourceFileName, unknownLine, wrapperName);
        }
    }
}

// Runs `operation` (no arguments, no result) and records its outcome in `result`, which must not be null.
// The operation may overwrite the result itself; after a normal return the wrapper leaves it alone.
template <typename Operation>
void ExecuteCppMethod(PyxResult* result, const char* operationName, Operation&& operation) noexcept
{
    SetOutcome(*result, 0, {}, {}, kSourceFileName, kLineMethodSuccess, "ExecuteCppMethod");
    try
    {
        std::forward<Operation>(operation)();
    }
    catch (...)
    {
        ReportCurrentException(*result, operationName, "ExecuteCppMethod", kLineMethodStdException,
                               kLineMethodUnknownException);
    }
}

// The same for an operation with a result: its value on success, `defaultValue` after a failure.
template <typename T, typename Operation>
T ExecuteCppMethodWithReturn(PyxResult* result, const char* operationName, Operation&& operation,
                             T defaultValue) noexcept
{
    SetOutcome(*result, 0, {}, {}, kSourceFileName, kLineWithReturnSuccess, "ExecuteCppMethodWithReturn");
    try
    {
        return std::forward<Operation>(operation)();
    }
    catch (...)
    {
        ReportCurrentException(*result, operationName, "ExecuteCppMethodWithReturn",
                               kLineWithReturnStdException, kLineWithReturnUnknownException);
    }
    return defaultValue;
}
} // namespace Pyx::CInterface
