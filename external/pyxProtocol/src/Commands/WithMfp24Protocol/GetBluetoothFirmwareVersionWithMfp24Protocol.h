#pragma once

#include "Commands/Command.h"
#include "Operations/FirmwareVersion.h"

namespace PyxProtocol
{
// The Mfp24 request names no module; the result carries the module type asked for.
class GetBluetoothFirmwareVersionWithMfp24Protocol : public Mfp24Command
{
public:
    explicit GetBluetoothFirmwareVersionWithMfp24Protocol(FirmwareVersionModuleType moduleType)
        : _moduleType(moduleType)
    {
    }

    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Characters 5-8 and 9-12 as two raw big-endian words; no character is checked.
    BluetoothFirmwareVersion GetResult() const;

private:
    FirmwareVersionModuleType _moduleType;
};
} // namespace PyxProtocol
