#pragma once

#include <string>

#include "Commands/Command.h"

namespace PyxProtocol
{
// The part number in three 8-byte pieces, asked for by sequence number.
class GetPartNumberWithFeatureReportProtocol : public Command
{
public:
    static constexpr int kPhraseCount = 3;

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // The bytes of the three replies up to the first zero byte.
    std::string GetResult() const;
};
} // namespace PyxProtocol
