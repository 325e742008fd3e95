#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

namespace PyxTransport::Detail
{
// Each byte as "0x{:02x}", joined by `separator`, for the transports' trace lines.
inline std::string HexBytes(const std::vector<std::uint8_t>& bytes, std::string_view separator)
{
    std::string text;
    text.reserve(bytes.size() * (4 + separator.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        if (i != 0)
        {
            text.append(separator);
        }
        fmt::format_to(std::back_inserter(text), "0x{:02x}", bytes[i]);
    }
    return text;
}

// Printable ASCII kept, every other byte shown as '.'; independent of the host's locale.
inline std::string PrintableAscii(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const std::uint8_t byte : bytes)
    {
        text.push_back(byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.');
    }
    return text;
}
} // namespace PyxTransport::Detail
