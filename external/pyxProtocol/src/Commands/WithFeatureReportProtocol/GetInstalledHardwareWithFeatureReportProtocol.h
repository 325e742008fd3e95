#pragma once

#include "Commands/Command.h"
#include "Operations/Identification.h"

namespace PyxProtocol
{
class GetInstalledHardwareWithFeatureReportProtocol : public Command
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // Installed mask in byte 0, support mask in bytes 4-5 (low byte first); the echo is not checked.
    InstalledHardwareInformation GetResult() const;
};
} // namespace PyxProtocol
