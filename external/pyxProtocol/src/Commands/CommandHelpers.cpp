#include "Commands/CommandHelpers.h"

#include <algorithm>
#include <stdexcept>

namespace PyxProtocol
{
namespace Phrase
{
Bytes FeatureReport(std::initializer_list<std::uint8_t> leading)
{
    if (leading.size() > kFeatureReportSize)
    {
        throw std::length_error("A FeatureReport phrase holds 8 bytes");
    }
    Bytes phrase(kFeatureReportSize, 0x00);
    std::copy(leading.begin(), leading.end(), phrase.begin());
    return phrase;
}

Bytes FeatureReportData(std::span<const std::uint8_t> data, std::size_t offset)
{
    Bytes phrase(kFeatureReportSize, 0x00);
    if (offset < data.size())
    {
        const std::size_t count = std::min(kFeatureReportSize, data.size() - offset);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), count, phrase.begin());
    }
    return phrase;
}

Bytes SerialBinary(std::uint8_t instruction, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                   std::span<const std::uint8_t> data)
{
    Bytes phrase(kSerialBinaryHeaderSize + data.size(), 0x00);
    phrase[0] = kSerialBinaryLead;
    phrase[1] = instruction;
    phrase[2] = p1;
    phrase[3] = p2;
    phrase[4] = p3;
    std::copy(data.begin(), data.end(), phrase.begin() + kSerialBinaryHeaderSize);
    return phrase;
}

Bytes Mfp24(std::string_view text)
{
    if (text.size() > kMfp24Size - 1)
    {
        throw std::length_error("An Mfp24 phrase holds 23 characters before its CR");
    }
    Bytes phrase(kMfp24Size, static_cast<std::uint8_t>('0'));
    std::copy(text.begin(), text.end(), phrase.begin());
    phrase.back() = kCarriageReturn;
    return phrase;
}
} // namespace Phrase

namespace Reply
{
const Bytes* At(const std::vector<Bytes>& replies, std::size_t index)
{
    return index < replies.size() ? &replies[index] : nullptr;
}

bool MatchesAt(const Bytes& reply, std::size_t offset, std::initializer_list<std::uint8_t> expected)
{
    if (offset > reply.size() || reply.size() - offset < expected.size())
    {
        return false;
    }
    return std::equal(expected.begin(), expected.end(), reply.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool Equals(const Bytes& reply, std::initializer_list<std::uint8_t> expected)
{
    return reply.size() == expected.size() && MatchesAt(reply, 0, expected);
}

std::uint8_t ByteAt(const Bytes& reply, std::size_t offset)
{
    return reply.at(offset);
}

std::uint16_t LittleEndian16(const Bytes& reply, std::size_t offset)
{
    return static_cast<std::uint16_t>(ByteAt(reply, offset) | (ByteAt(reply, offset + 1) << 8));
}

std::uint16_t BigEndian16(const Bytes& reply, std::size_t offset)
{
    return static_cast<std::uint16_t>((ByteAt(reply, offset) << 8) | ByteAt(reply, offset + 1));
}

std::uint32_t LittleEndian32(const Bytes& reply, std::size_t offset)
{
    return static_cast<std::uint32_t>(LittleEndian16(reply, offset)) |
           (static_cast<std::uint32_t>(LittleEndian16(reply, offset + 2)) << 16);
}

std::uint32_t BigEndian32(const Bytes& reply, std::size_t offset)
{
    return (static_cast<std::uint32_t>(BigEndian16(reply, offset)) << 16) |
           static_cast<std::uint32_t>(BigEndian16(reply, offset + 2));
}

std::size_t CopyBounded(const Bytes& reply, std::size_t from, std::size_t end, std::span<std::uint8_t> target,
                        std::size_t targetOffset)
{
    end = std::min(end, reply.size());
    if (from >= end || targetOffset >= target.size())
    {
        return 0;
    }
    const std::size_t count = std::min(end - from, target.size() - targetOffset);
    std::copy_n(reply.begin() + static_cast<std::ptrdiff_t>(from), count,
                target.begin() + static_cast<std::ptrdiff_t>(targetOffset));
    return count;
}
} // namespace Reply
} // namespace PyxProtocol
