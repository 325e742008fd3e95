#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
class SetBeeperVolumeWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetBeeperVolumeWithSerialBinaryProtocol(BeepVolume volume);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The reply echoes the instruction 0C, then the status word 90 00.
    void ValidateResponse() const;

private:
    std::uint8_t _volume;
};
} // namespace PyxProtocol
