#pragma once

#include "Commands/Command.h"
#include "Operations/FirmwareVersion.h"

namespace PyxProtocol
{
class GetControlFirmwareVersionWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit GetControlFirmwareVersionWithSerialBinaryProtocol(FirmwareVersionModuleType moduleType)
        : _moduleType(moduleType)
    {
    }

    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Only while nothing was received: a second reply is never read.
    bool ExpectsResponsePhrase() override;
    // The echo 09 03 and the status word 90 00 at bytes 8-9.
    void ValidateResponse() const;
    // Version from bytes 4-7, lowest first.
    MicrocontrollerFirmwareVersion GetResult() const;

private:
    FirmwareVersionModuleType _moduleType;
};
} // namespace PyxProtocol
