#pragma once

#include "Operations/FirmwareVersion.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the firmware version of the Bluetooth module; the module type must be specified.
class GetBluetoothFirmwareVersionVisitor final : public CommandVisitor
{
public:
    explicit GetBluetoothFirmwareVersionVisitor(FirmwareVersionModuleType moduleType)
        : _moduleType(moduleType)
    {
    }

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    BluetoothFirmwareVersion GetResult() const { return _result; }

private:
    FirmwareVersionModuleType _moduleType;
    BluetoothFirmwareVersion _result{};
};
} // namespace PyxProtocol
