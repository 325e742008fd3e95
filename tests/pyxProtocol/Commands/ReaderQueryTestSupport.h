#pragma once

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"

namespace PyxTest
{
// Runs `command` on a transport that answers `replies` in order and returns every request sent. A reply
// left unread fails the test: the command stopped earlier than the reader expected.
template <typename C> std::vector<Bytes> RunScripted(C& command, const std::vector<Bytes>& replies)
{
    ScriptedTransport transport;
    transport.QueueReplies(replies);
    command.Execute(transport);
    EXPECT_EQ(transport.PendingReplies(), 0U) << "replies left unread";
    return transport.Transmitted();
}

// An 8-byte FeatureReport reply: the leading bytes given, zero-filled.
inline Bytes Report(std::initializer_list<std::uint8_t> leading)
{
    Bytes reply(8, 0x00);
    std::copy(leading.begin(), leading.end(), reply.begin());
    return reply;
}

inline std::string Text(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}
} // namespace PyxTest
