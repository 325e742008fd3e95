#include "Utility/StringUtils.h"

#include <array>
#include <cstdint>

#include "Exceptions/TessmarException.h"

namespace PyxCommon
{
namespace
{
constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i)
    {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit)
        {
            crc = (crc & 1U) != 0 ? (crc >> 1) ^ 0xEDB88320U : crc >> 1;
        }
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

// Exactly the white space of the C locale's isspace, decided without the locale.
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z')
    {
        return c - 'A' + 10;
    }
    return 99;
}

std::string Quoted(std::string_view text)
{
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}
} // namespace

std::string StringUtils::ToHexString(std::uint32_t value, int width)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do
    {
        digits.insert(digits.begin(), kDigits[value & 0xFU]);
        value >>= 4;
    } while (value != 0);
    if (width > 0 && digits.size() < static_cast<std::size_t>(width))
    {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

std::string StringUtils::Join(const std::vector<std::string>& items, const std::string& separator)
{
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i)
    {
        if (i != 0)
        {
            joined += separator;
        }
        joined += items[i];
    }
    return joined;
}

std::vector<std::string> StringUtils::Split(std::string_view text, std::string_view delimiter)
{
    const std::vector<std::string_view> views = SplitViews(text, delimiter);
    return {views.begin(), views.end()};
}

std::vector<std::string_view> StringUtils::SplitViews(std::string_view text, std::string_view delimiter,
                                                      std::size_t limit)
{
    std::vector<std::string_view> pieces;
    if (limit == 0)
    {
        return pieces;
    }
    if (delimiter.empty())
    {
        if (!text.empty())
        {
            pieces.push_back(text);
        }
        return pieces;
    }
    while (delimiter.size() <= text.size())
    {
        const auto at = text.find(delimiter);
        if (at == std::string_view::npos)
        {
            break;
        }
        pieces.push_back(text.substr(0, at));
        text.remove_prefix(at + delimiter.size());
        if (pieces.size() == limit)
        {
            return pieces;
        }
    }
    if (!text.empty())
    {
        pieces.push_back(text);
    }
    return pieces;
}

std::string StringUtils::Trim(std::string_view text)
{
    return std::string(TrimView(text));
}

std::string_view StringUtils::TrimView(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
    {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back()))
    {
        text.remove_suffix(1);
    }
    return text;
}

bool StringUtils::StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool StringUtils::ParseBool(std::string_view text)
{
    if (text == "1")
    {
        return true;
    }
    if (text == "0")
    {
        return false;
    }
    PYX_THROW(TessmarException, "Invalid boolean string: " + Quoted(text));
}

int StringUtils::ParseInt(std::string_view text, std::uint32_t base)
{
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
    {
        at = 1;
    }
    // Accumulated unsigned and wide, so neither the sign nor the limit can overflow.
    const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    std::uint64_t value = 0;
    bool overflow = false;
    std::size_t digits = 0;
    for (; at < text.size(); ++at)
    {
        const int digit = DigitValue(text[at]);
        if (digit < 0 || static_cast<std::uint32_t>(digit) >= base)
        {
            break;
        }
        ++digits;
        if (!overflow)
        {
            value = value * base + static_cast<std::uint32_t>(digit);
            overflow = value > limit;
        }
    }
    if (digits == 0 || overflow || at != text.size())
    {
        PYX_THROW(TessmarException, "Invalid integer string: " + Quoted(text));
    }
    return negative ? static_cast<int>(-static_cast<std::int64_t>(value)) : static_cast<int>(value);
}

std::uint32_t StringUtils::Crc32Value(const std::uint8_t* bytes, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFU;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc = kCrcTable[(crc ^ bytes[i]) & 0xFFU] ^ (crc >> 8);
    }
    return ~crc;
}

std::string StringUtils::Crc32(const std::vector<std::uint8_t>& bytes)
{
    return ToHexString(Crc32Value(bytes.data(), bytes.size()), 8);
}
} // namespace PyxCommon
