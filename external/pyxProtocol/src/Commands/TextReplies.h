#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How the identification commands join the text pieces of several replies.
namespace PyxProtocol::TextReplies
{
// The bytes of the replies in order, up to (not including) the first zero byte.
std::string JoinUpToFirstZero(const std::vector<std::vector<std::uint8_t>>& replies);
// From each reply, every non-zero byte after its first (echo) byte, reply after reply.
std::string JoinNonZeroAfterEcho(const std::vector<std::vector<std::uint8_t>>& replies);
} // namespace PyxProtocol::TextReplies
