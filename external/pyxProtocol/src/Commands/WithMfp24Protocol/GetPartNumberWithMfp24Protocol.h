#pragma once

#include <string>

#include "Commands/Command.h"

namespace PyxProtocol
{
class GetPartNumberWithMfp24Protocol : public Mfp24Command
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // A 24-character reply beginning RRZ and ending in CR.
    void ValidateResponse() const;
    // Characters 3 to 22 without trailing blanks.
    std::string GetResult() const;
};
} // namespace PyxProtocol
