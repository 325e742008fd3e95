#pragma once

#include "Commands/Command.h"
#include "Operations/FirmwareVersion.h"

namespace PyxProtocol
{
class GetRadioFirmwareVersionWithFeatureReportProtocol : public Command
{
public:
    explicit GetRadioFirmwareVersionWithFeatureReportProtocol(FirmwareVersionModuleType moduleType)
        : _moduleType(moduleType)
    {
    }

    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Version from bytes 4-7, lowest first; the echo is not checked.
    MicrocontrollerFirmwareVersion GetResult() const;

private:
    FirmwareVersionModuleType _moduleType;
};
} // namespace PyxProtocol
