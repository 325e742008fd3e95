#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Configuration/ReaderConfiguration.h"
#include "ProtocolException.h"

// The codecs of the byte-per-member blocks, driven by one table per block that places each member in the
// 8 block bytes. The tables read like the block layouts, and a compile-time check proves that every one of
// the 64 bits belongs to exactly one member, which is what makes decode-then-encode give back any input.
namespace PyxProtocol::Detail
{
template <typename Block> struct BlockField
{
    std::uint8_t Block::*Member;
    std::uint8_t Byte;  // block byte 0..7
    std::uint8_t Shift; // lowest bit of the field within the byte
    std::uint8_t Width; // 1..8 bits
    const char* Label;  // nullptr: the member has no line in the text form

    constexpr std::uint8_t Mask() const { return static_cast<std::uint8_t>(((1u << Width) - 1u) << Shift); }
};

template <typename Block, std::size_t N>
constexpr bool CoversEveryBitOnce(const std::array<BlockField<Block>, N>& fields)
{
    std::array<unsigned, ConfigurationBlockSize> used{};
    for (const auto& field : fields)
    {
        if (field.Byte >= ConfigurationBlockSize || field.Width == 0 || field.Shift + field.Width > 8)
        {
            return false;
        }
        if ((used[field.Byte] & field.Mask()) != 0)
        {
            return false;
        }
        used[field.Byte] |= field.Mask();
    }
    for (unsigned byte : used)
    {
        if (byte != 0xFFu)
        {
            return false;
        }
    }
    return true;
}

// The refusal of a vector too short to hold a block; every FromVector checks the size before reading.
std::string ShortBlockMessage(const char* blockName, std::size_t size);

// Appends "label" + decimal value + line feed.
void AppendLine(std::string& text, const char* label, unsigned value);

template <typename Block, std::size_t N>
// `bytes` holds at least ConfigurationBlockSize bytes (checked by the caller).
Block Decode(const std::array<BlockField<Block>, N>& fields, const std::vector<std::uint8_t>& bytes)
{
    Block block{};
    for (const auto& field : fields)
    {
        block.*field.Member = static_cast<std::uint8_t>((bytes[field.Byte] & field.Mask()) >> field.Shift);
    }
    return block;
}

template <typename Block, std::size_t N>
std::vector<std::uint8_t> Encode(const std::array<BlockField<Block>, N>& fields, const Block& block)
{
    std::vector<std::uint8_t> bytes(ConfigurationBlockSize, 0);
    for (const auto& field : fields)
    {
        bytes[field.Byte] |= static_cast<std::uint8_t>((block.*field.Member << field.Shift) & field.Mask());
    }
    return bytes;
}

template <typename Block, std::size_t N>
std::string Print(const std::array<BlockField<Block>, N>& fields, const Block& block, std::string& text)
{
    for (const auto& field : fields)
    {
        if (field.Label != nullptr)
        {
            AppendLine(text, field.Label, block.*field.Member);
        }
    }
    return text;
}
} // namespace PyxProtocol::Detail

// Defines FromVector, ToVector and ToString of a table-driven block from its table, and proves that the table
// covers the block. A macro rather than a template, so that a refused vector is reported from the block's own
// file and from FromVector, like every other throw site. Use it at PyxProtocol scope after the table.
#define PYX_DEFINE_BLOCK_CODECS(Block, fields)                                                               \
    Block Block::FromVector(const std::vector<std::uint8_t>& bytes)                                          \
    {                                                                                                        \
        if (bytes.size() < ConfigurationBlockSize)                                                           \
        {                                                                                                    \
            PYX_THROW(ProtocolException, Detail::ShortBlockMessage(#Block, bytes.size()));                   \
        }                                                                                                    \
        return Detail::Decode(fields, bytes);                                                                \
    }                                                                                                        \
    std::vector<std::uint8_t> Block::ToVector(const Block& block)                                            \
    {                                                                                                        \
        return Detail::Encode(fields, block);                                                                \
    }                                                                                                        \
    std::string Block::ToString(std::string& text) const                                                     \
    {                                                                                                        \
        return Detail::Print(fields, *this, text);                                                           \
    }                                                                                                        \
    static_assert(Detail::CoversEveryBitOnce(fields),                                                        \
                  "every bit of the block belongs to exactly one member");                                   \
    static_assert((fields).size() == sizeof(Block), "one table row per member")
