#pragma once

#include "Commands/Command.h"
#include "Operations/FirmwareVersion.h"

namespace PyxProtocol
{
class GetBluetoothFirmwareVersionWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    explicit GetBluetoothFirmwareVersionWithFeatureReportProtocol(FirmwareVersionModuleType moduleType)
        : _moduleType(moduleType)
    {
    }

    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Field32A = byte 4, Field32B = byte 5, Field32C = bytes 6-7 high first; the echo is not checked.
    BluetoothFirmwareVersion GetResult() const;

private:
    FirmwareVersionModuleType _moduleType;
};
} // namespace PyxProtocol
