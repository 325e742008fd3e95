#pragma once

#include "Commands/Command.h"
#include "Operations/Identification.h"

namespace PyxProtocol
{
class GetInstalledHardwareWithMfp24Protocol : public Mfp24Command
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // A 24-character reply beginning RSX07 and ending in CR; an E reply is the reader's refusal.
    void ValidateResponse() const;
    // Installed mask from the hex digits at characters 11-12, support mask from those at 18-20.
    InstalledHardwareInformation GetResult() const;
};
} // namespace PyxProtocol
