#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
// Sounds the beeper; the reply is read and not examined.
class BeepWithMfp24Protocol : public Mfp24Command
{
public:
    BeepWithMfp24Protocol(std::uint8_t count, BEEP_DURATION duration);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Keeps the reply without counting it.
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    // True while no reply is stored.
    bool ExpectsResponsePhrase() override;

private:
    std::uint8_t _count;
    std::uint8_t _duration;
};
} // namespace PyxProtocol
