#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "ProtocolException.h"
#include "ScriptedTransport.h"

namespace PyxTest
{
using Bytes = std::vector<std::uint8_t>;

// A 24-byte Mfp24 line: `text`, '0' up to byte 22, CR.
inline Bytes Mfp24Line(std::string_view text)
{
    Bytes line(24, '0');
    std::copy(text.begin(), text.end(), line.begin());
    line[23] = 0x0D;
    return line;
}

// What a ProtocolException thrown by `action` says, as "function: message"; "no exception" otherwise. A
// different exception type fails the test.
inline std::string ProtocolFailure(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const PyxProtocol::ProtocolException& e)
    {
        return e.GetFunctionName() + ": " + e.GetMessage();
    }
    catch (const std::exception& e)
    {
        ADD_FAILURE() << "not a ProtocolException: " << e.what();
        return "wrong exception";
    }
    return "no exception";
}

// Runs `command` on a transport that answers `replies` (none: the command is not executed), then calls
// `check` (a member such as ValidateResponse or GetResult) and returns ProtocolFailure of that call.
template <typename C, typename Check>
std::string OutcomeAfter(C&& command, const std::vector<Bytes>& replies, Check check)
{
    if (!replies.empty())
    {
        ScriptedTransport transport;
        transport.QueueReplies(replies);
        command.Execute(transport);
    }
    return ProtocolFailure([&] { (command.*check)(); });
}
} // namespace PyxTest
