#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
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
// What one execution put on the line: the packets sent, the reply lengths asked for, the replies left unread.
struct Exchanged
{
    std::vector<Bytes> sent;
    std::vector<std::uint16_t> replyLengths;
    std::size_t unusedReplies = 0;
};

// Runs `command` on a transport that answers `replies` in order.
template <typename C> Exchanged RunOn(C&& command, const std::vector<Bytes>& replies)
{
    ScriptedTransport transport;
    transport.QueueReplies(replies);
    command.Execute(transport);
    return {transport.Transmitted(), transport.ReceiveLengths(), transport.PendingReplies()};
}

// One reply and what ValidateResponse then says ("function: message" or "no exception"). A case made by
// NotRun checks a command that was never executed.
struct ReplyCase
{
    const char* what;
    Bytes reply;
    std::string message;
    bool run = true;
};

inline ReplyCase NotRun(std::string message)
{
    return {"not run", {}, std::move(message), false};
}

// Checks each case on a fresh command from `make`.
template <typename Make> void ExpectValidation(const Make& make, const std::vector<ReplyCase>& cases)
{
    for (const auto& c : cases)
    {
        auto command = make();
        if (c.run)
        {
            RunOn(command, {c.reply});
        }
        EXPECT_EQ(ProtocolFailure([&] { command.ValidateResponse(); }), c.message) << c.what;
    }
}

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
