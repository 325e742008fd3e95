#include "TransportPlatform.h"

#include <cstdint>

namespace PyxTransport::Platform
{
namespace
{
constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0U) == 0x80U;
}

bool IsScalarValue(char32_t value)
{
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

void AppendUtf8(std::string& out, char32_t value)
{
    if (!IsScalarValue(value))
    {
        value = kReplacement;
    }
    if (value < 0x80)
    {
        out.push_back(static_cast<char>(value));
    }
    else if (value < 0x800)
    {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
    else if (value < 0x10000)
    {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
    else
    {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}
} // namespace

std::wstring Utf8ToWide(std::string_view text)
{
    static_assert(sizeof(wchar_t) == 4, "wchar_t holds one code point on this platform");
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size())
    {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t value = 0;
        char32_t lowest = 0;
        if (lead < 0x80)
        {
            value = lead;
        }
        else if ((lead & 0xE0U) == 0xC0U)
        {
            extra = 1;
            value = lead & 0x1FU;
            lowest = 0x80;
        }
        else if ((lead & 0xF0U) == 0xE0U)
        {
            extra = 2;
            value = lead & 0x0FU;
            lowest = 0x800;
        }
        else if ((lead & 0xF8U) == 0xF0U)
        {
            extra = 3;
            value = lead & 0x07U;
            lowest = 0x10000;
        }
        else
        {
            // A stray continuation byte or a lead byte no valid sequence starts with.
            out.push_back(static_cast<wchar_t>(kReplacement));
            ++i;
            continue;
        }

        std::size_t taken = 1;
        while (taken <= extra && i + taken < text.size() &&
               IsContinuation(static_cast<unsigned char>(text[i + taken])))
        {
            value = (value << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3FU);
            ++taken;
        }
        if (taken <= extra || value < lowest || !IsScalarValue(value))
        {
            // Cut short, overlong or out of range: one replacement for what was consumed.
            out.push_back(static_cast<wchar_t>(kReplacement));
        }
        else
        {
            out.push_back(static_cast<wchar_t>(value));
        }
        i += taken;
    }
    return out;
}

std::string WideToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text)
    {
        AppendUtf8(out, static_cast<char32_t>(static_cast<std::uint32_t>(c)));
    }
    return out;
}
} // namespace PyxTransport::Platform
