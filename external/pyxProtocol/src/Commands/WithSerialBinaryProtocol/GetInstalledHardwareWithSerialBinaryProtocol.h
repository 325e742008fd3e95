#pragma once

#include "Commands/Command.h"
#include "Operations/Identification.h"

namespace PyxProtocol
{
class GetInstalledHardwareWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // The echo 09 05 and the status word 90 00 at bytes 10-11.
    void ValidateResponse() const;
    // Installed mask in byte 2, support mask in bytes 6-7 (low byte first).
    InstalledHardwareInformation GetResult() const;
};
} // namespace PyxProtocol
