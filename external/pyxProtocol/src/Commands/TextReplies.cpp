#include "Commands/TextReplies.h"

#include <algorithm>

namespace PyxProtocol::TextReplies
{
std::string JoinUpToFirstZero(const std::vector<std::vector<std::uint8_t>>& replies)
{
    std::string text;
    for (const auto& reply : replies)
    {
        const auto end = std::find(reply.begin(), reply.end(), 0x00);
        text.append(reply.begin(), end);
        if (end != reply.end())
        {
            break;
        }
    }
    return text;
}

std::string JoinNonZeroAfterEcho(const std::vector<std::vector<std::uint8_t>>& replies)
{
    std::string text;
    for (const auto& reply : replies)
    {
        for (std::size_t i = 1; i < reply.size(); ++i)
        {
            if (reply[i] != 0x00)
            {
                text.push_back(static_cast<char>(reply[i]));
            }
        }
    }
    return text;
}
} // namespace PyxProtocol::TextReplies
