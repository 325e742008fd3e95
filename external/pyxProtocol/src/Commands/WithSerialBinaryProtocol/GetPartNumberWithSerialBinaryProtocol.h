#pragma once

#include <string>

#include "Commands/Command.h"

namespace PyxProtocol
{
// The part number in three pieces of at most 8 bytes behind a 0C echo, asked for by sequence number.
class GetPartNumberWithSerialBinaryProtocol : public Command
{
public:
    static constexpr int kPhraseCount = 3;

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;
    // Every non-zero byte after the echo, reply after reply; a reply longer than 9 bytes is refused.
    std::string GetResult() const;
};
} // namespace PyxProtocol
