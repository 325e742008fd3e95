#pragma once

#include "Commands/Command.h"
#include "Operations/FirmwareVersion.h"

namespace PyxProtocol
{
// One request for the secure modules; its one reply is decoded once per kind of module.
class GetSamFirmwareVersionWithFeatureReportProtocol : public Command
{
public:
    explicit GetSamFirmwareVersionWithFeatureReportProtocol(FirmwareVersionModuleType moduleType)
        : _moduleType(moduleType)
    {
    }

    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Only while nothing was received: a second reply is never read.
    bool ExpectsResponsePhrase() override;
    // The Felica module's version: bytes 4-7, byte 4 highest.
    FelicaSamFirmwareVersion GetFelicaSamResult() const;
    // The HidSe and NxpAvx modules' version: bytes 4-7, byte 4 lowest.
    MicrocontrollerFirmwareVersion GetMicrocontrollerResult() const;

private:
    FirmwareVersionModuleType _moduleType;
};
} // namespace PyxProtocol
