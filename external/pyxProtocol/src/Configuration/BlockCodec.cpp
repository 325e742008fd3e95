#include "Configuration/BlockCodec.h"

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"

namespace PyxProtocol::Detail
{
void RequireBlockBytes(const std::vector<std::uint8_t>& bytes, const char* blockName)
{
    if (bytes.size() < ConfigurationBlockSize)
    {
        PYX_THROW(TessmarException, fmt::format("{} needs {} bytes but was given {}", blockName,
                                                ConfigurationBlockSize, bytes.size()));
    }
}

void AppendLine(std::string& text, const char* label, unsigned value)
{
    text += label;
    text += std::to_string(value);
    text += '\n';
}
} // namespace PyxProtocol::Detail
