#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
class SetBeeperVolumeWithMfp24Protocol : public Mfp24Command
{
public:
    explicit SetBeeperVolumeWithMfp24Protocol(BeepVolume volume);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // A 24-byte reply "RV<volume>...<CR>"; bytes 3 to 22 are not checked.
    void ValidateResponse() const;

private:
    std::uint8_t _volume;
};
} // namespace PyxProtocol
