#include "Configuration/BlockCodec.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
using B = ReaderConfigurationBlock5;

// Whole bytes only, one of them a 16-bit card type stored low byte first, so no field table is needed.
B B::FromVector(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < ConfigurationBlockSize)
    {
        PYX_THROW(ProtocolException, Detail::ShortBlockMessage("ReaderConfigurationBlock5", bytes.size()));
    }
    B block;
    block.DisableCardConfiguration = bytes[0];
    block.CardType = static_cast<std::uint16_t>(bytes[1] | (bytes[2] << 8));
    block.SetHighPriorityCardType = bytes[3];
    block.QuorvaneCompatibilityCharacter = bytes[4];
    block.QuorvaneCharacterCount = bytes[5];
    block._ = bytes[6];
    block.__ = bytes[7];
    return block;
}

std::vector<std::uint8_t> B::ToVector(const B& block)
{
    return {block.DisableCardConfiguration,
            static_cast<std::uint8_t>(block.CardType & 0xFF),
            static_cast<std::uint8_t>(block.CardType >> 8),
            block.SetHighPriorityCardType,
            block.QuorvaneCompatibilityCharacter,
            block.QuorvaneCharacterCount,
            block._,
            block.__};
}

std::string B::ToString(std::string& text) const
{
    Detail::AppendLine(text, "DisableCardConfiguration: ", DisableCardConfiguration);
    Detail::AppendLine(text, "CardType: ", CardType);
    Detail::AppendLine(text, "SetHighPriorityCardType: ", SetHighPriorityCardType);
    Detail::AppendLine(text, "QuorvaneCompatibilityCharacter: ", QuorvaneCompatibilityCharacter);
    Detail::AppendLine(text, "QuorvaneCharacterCount: ", QuorvaneCharacterCount);
    Detail::AppendLine(text, "_: ", _);
    Detail::AppendLine(text, "__: ", __);
    return text;
}
} // namespace PyxProtocol
