#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
class BeepWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    BeepWithSerialBinaryProtocol(std::uint8_t count, BEEP_DURATION duration);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The reply is the bare status word; a failure is reported by its name.
    void ValidateResponse() const;

private:
    std::uint8_t _duration;
    std::uint8_t _count;
};
} // namespace PyxProtocol
