#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace PyxCommon
{
// Text helpers of the configuration files and their property table.
class StringUtils
{
public:
    // Upper-case hexadecimal, zero-filled on the left to at least `width` digits, never cut.
    static std::string ToHexString(std::uint32_t value, int width);
    static std::string Join(const std::vector<std::string>& items, const std::string& separator);
    // Pieces between delimiters; a trailing empty piece is dropped. An empty delimiter yields the whole
    // text as one piece.
    static std::vector<std::string> Split(std::string_view text, std::string_view delimiter);
    // Split without copies, and only the first `limit` pieces: a line of millions of delimiters costs no
    // more than the few pieces its format allows, and a result of `limit` pieces means "at least that many".
    static std::vector<std::string_view>
    SplitViews(std::string_view text, std::string_view delimiter,
               std::size_t limit = std::numeric_limits<std::size_t>::max());
    static std::string Trim(std::string_view text);
    static std::string_view TrimView(std::string_view text);
    static bool StartsWith(std::string_view text, std::string_view prefix);
    // Exactly "1" or "0"; anything else throws.
    static bool ParseBool(std::string_view text);
    // Optional '-', then digits of `base` up to the end of the text; anything else, or a value outside
    // int32, throws.
    static int ParseInt(std::string_view text, std::uint32_t base);
    // CRC-32 (IEEE 802.3) as 8 upper-case hexadecimal digits.
    static std::string Crc32(const std::vector<std::uint8_t>& bytes);
    static std::uint32_t Crc32Value(const std::uint8_t* bytes, std::size_t size);
};
} // namespace PyxCommon
