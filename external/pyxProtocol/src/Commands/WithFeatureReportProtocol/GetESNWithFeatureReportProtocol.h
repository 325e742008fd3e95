#pragma once

#include <string>

#include "Commands/Command.h"

namespace PyxProtocol
{
// The electronic serial number in four 8-byte pieces, asked for by sequence number.
class GetESNWithFeatureReportProtocol : public Command
{
public:
    static constexpr int kPhraseCount = 4;

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // All bytes of the four replies in order, zero bytes included.
    std::string GetResult() const;
};
} // namespace PyxProtocol
