#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// First step of a card read: the number of valid bits of the last card.
class GetCardBitCountWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Byte 0 of the reply.
    std::uint8_t GetResult() const;
};
} // namespace PyxProtocol
