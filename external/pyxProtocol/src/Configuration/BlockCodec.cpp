#include "Configuration/BlockCodec.h"

#include <fmt/format.h>

namespace PyxProtocol::Detail
{
std::string ShortBlockMessage(const char* blockName, std::size_t size)
{
    return fmt::format("{} needs {} bytes but was given {}", blockName, ConfigurationBlockSize, size);
}

void AppendLine(std::string& text, const char* label, unsigned value)
{
    text += label;
    text += std::to_string(value);
    text += '\n';
}
} // namespace PyxProtocol::Detail
