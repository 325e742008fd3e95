#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

// The small pieces every command class is made of: building a request phrase of its protocol, and checking
// and reading a reply with its length checked first. A command keeps only its own bytes and messages.
namespace PyxProtocol
{
using Bytes = std::vector<std::uint8_t>;

namespace Phrase
{
constexpr std::size_t kFeatureReportSize = 8;
constexpr std::size_t kMfp24Size = 24;
constexpr std::uint8_t kSerialBinaryLead = 0xFA;
constexpr std::size_t kSerialBinaryHeaderSize = 5;
constexpr std::uint8_t kCarriageReturn = 0x0D;

// A FeatureReport request: the leading bytes given (at most 8), zero-filled to 8 bytes.
Bytes FeatureReport(std::initializer_list<std::uint8_t> leading);
// A FeatureReport data phrase: the 8 bytes of `data` from `offset` on, zero-filled past its end.
Bytes FeatureReportData(std::span<const std::uint8_t> data, std::size_t offset);
// A SerialBinary request: the header FA INS P1 P2 P3, then `data` as given; never padded.
Bytes SerialBinary(std::uint8_t instruction, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                   std::span<const std::uint8_t> data = {});
// An Mfp24 request: `text` (command letters and argument), '0' up to byte 22 and CR as byte 23. A text
// longer than 23 characters throws std::length_error.
Bytes Mfp24(std::string_view text);
} // namespace Phrase

namespace Reply
{
// The stored reply at `index`, or nullptr when fewer replies were stored.
const Bytes* At(const std::vector<Bytes>& replies, std::size_t index);
// True when the reply holds at least `size` bytes: the check to make before reading below `size`.
inline bool HasAtLeast(const Bytes& reply, std::size_t size)
{
    return reply.size() >= size;
}
// True when the bytes from `offset` on equal `expected`; a reply too short to hold them does not match.
bool MatchesAt(const Bytes& reply, std::size_t offset, std::initializer_list<std::uint8_t> expected);
// True when the reply begins with `expected` (an echo check); a shorter reply does not match.
inline bool StartsWith(const Bytes& reply, std::initializer_list<std::uint8_t> expected)
{
    return MatchesAt(reply, 0, expected);
}
// True when the reply is exactly `expected`, length included.
bool Equals(const Bytes& reply, std::initializer_list<std::uint8_t> expected);

// The byte at `offset`. Check the length first: a missed check throws std::out_of_range instead of
// reading past the reply.
std::uint8_t ByteAt(const Bytes& reply, std::size_t offset);
// Little-endian (low byte first) and big-endian (high byte first) fields at `offset`; same bound as ByteAt.
std::uint16_t LittleEndian16(const Bytes& reply, std::size_t offset);
std::uint16_t BigEndian16(const Bytes& reply, std::size_t offset);
std::uint32_t LittleEndian32(const Bytes& reply, std::size_t offset);
std::uint32_t BigEndian32(const Bytes& reply, std::size_t offset);
// Copies reply bytes [from, end) to `target` from `targetOffset` on, cut to what the reply holds and to
// what the target can take; returns the number of bytes copied.
std::size_t CopyBounded(const Bytes& reply, std::size_t from, std::size_t end, std::span<std::uint8_t> target,
                        std::size_t targetOffset);
} // namespace Reply
} // namespace PyxProtocol
