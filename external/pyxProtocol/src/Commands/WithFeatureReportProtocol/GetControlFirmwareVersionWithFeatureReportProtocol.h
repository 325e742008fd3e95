#pragma once

#include "Commands/Command.h"
#include "Operations/FirmwareVersion.h"

namespace PyxProtocol
{
class GetControlFirmwareVersionWithFeatureReportProtocol : public Command
{
public:
    explicit GetControlFirmwareVersionWithFeatureReportProtocol(FirmwareVersionModuleType moduleType)
        : _moduleType(moduleType)
    {
    }

    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Only while nothing was received: a second reply is never read.
    bool ExpectsResponsePhrase() override;
    // Version from bytes 4-7, lowest first; the echo is not checked.
    MicrocontrollerFirmwareVersion GetResult() const;

private:
    FirmwareVersionModuleType _moduleType;
};
} // namespace PyxProtocol
