#pragma once

#include "Operations/FirmwareVersion.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the firmware version of the radio processor; the module type must be specified.
class GetRadioFirmwareVersionVisitor final : public CommandVisitor
{
public:
    explicit GetRadioFirmwareVersionVisitor(FirmwareVersionModuleType moduleType) : _moduleType(moduleType) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    MicrocontrollerFirmwareVersion GetResult() const { return _result; }

private:
    FirmwareVersionModuleType _moduleType;
    MicrocontrollerFirmwareVersion _result{};
};
} // namespace PyxProtocol
