#include "ReplyScript.h"

#include <algorithm>

namespace PyxFuzz
{
bool ReadReplyScript(const std::uint8_t* data, std::size_t size, ReplyScript& script)
{
    if (size < 2)
    {
        return false;
    }
    script.Protocol = data[0];
    script.Operation = data[1];
    script.Replies.clear();
    std::size_t at = 2;
    while (at < size)
    {
        std::size_t length = data[at++];
        if (length == kLongReply)
        {
            length = 0;
            for (int i = 0; i < 2 && at < size; ++i)
            {
                length = (length << 8) | data[at++];
            }
        }
        length = std::min(length, size - at);
        script.Replies.emplace_back(data + at, data + at + length);
        at += length;
    }
    return true;
}

std::vector<std::uint8_t> WriteReplyScript(const ReplyScript& script)
{
    std::vector<std::uint8_t> bytes{script.Protocol, script.Operation};
    for (const auto& reply : script.Replies)
    {
        const std::size_t length = std::min<std::size_t>(reply.size(), 0xFFFF);
        if (length < kLongReply)
        {
            bytes.push_back(static_cast<std::uint8_t>(length));
        }
        else
        {
            bytes.insert(bytes.end(), {kLongReply, static_cast<std::uint8_t>(length >> 8),
                                       static_cast<std::uint8_t>(length & 0xFF)});
        }
        bytes.insert(bytes.end(), reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(length));
    }
    return bytes;
}
} // namespace PyxFuzz
