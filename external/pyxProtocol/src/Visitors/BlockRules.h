#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <fmt/format.h>

#include "Logging/Logger.h"
#include "Visitors/CommandVisitor.h"

// The range rules of a configuration block: each packed field must fit its bits on the wire, and the digit
// and parity counts must stay within what the reader accepts.
namespace PyxProtocol::Visitors
{
template <typename Block> struct BlockRule
{
    const char* name;
    std::uint8_t Block::*field;
    int lower;
    int upper;
};

// Logs the block at trace level under "<visitorName>::ValidateArguments() ", a line feed and a blank, then
// checks the rules in order; the first field out of range throws.
template <typename Block>
void ValidateBlock(const char* visitorName, const Block& block, std::span<const BlockRule<Block>> rules)
{
    std::string text;
    PyxCommon::Logger::GetInstance(false, true)
        .Trace("PROTOCOL", fmt::format("{}::ValidateArguments() \n {}", visitorName, block.ToString(text)));
    for (const BlockRule<Block>& rule : rules)
    {
        ThrowProtocolExceptionForPropertyOutOfRange(rule.name, block.*(rule.field), rule.lower, rule.upper);
    }
}
} // namespace PyxProtocol::Visitors
