#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
class GetBeeperVolumeWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The reply echoes the instruction 0C, then carries the volume.
    void ValidateResponse() const;
    BeepVolume GetResult() const;
};
} // namespace PyxProtocol
