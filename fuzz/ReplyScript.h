#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PyxFuzz
{
// One run of the reply fuzzer as its input bytes hold it: the protocol (first byte, modulo the three), the
// operation (second byte, modulo the operations' count, in the order of the tests' operation list) and the
// replies the reader gives, in order. Each reply is a length byte and that many bytes; a length byte of 0xFF
// is followed by a 16-bit big-endian length, for the long replies of a serial line. A length past the end of
// the input takes what is left.
struct ReplyScript
{
    std::uint8_t Protocol = 0;
    std::uint8_t Operation = 0;
    std::vector<std::vector<std::uint8_t>> Replies;
};

inline constexpr std::uint8_t kLongReply = 0xFF;

// Inputs shorter than two bytes give nothing.
bool ReadReplyScript(const std::uint8_t* data, std::size_t size, ReplyScript& script);
std::vector<std::uint8_t> WriteReplyScript(const ReplyScript& script);
} // namespace PyxFuzz
