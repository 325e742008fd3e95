#pragma once

#include "Operations/FirmwareVersion.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the firmware version of a secure module. The one reply is decoded for each kind of module; the
// caller reads the record of the kind it asked for.
class GetSamFirmwareVersionVisitor final : public CommandVisitor
{
public:
    explicit GetSamFirmwareVersionVisitor(FirmwareVersionModuleType moduleType) : _moduleType(moduleType) {}

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    HidSeSamFirmwareVersion GetHidSeSamFirmwareVersion() const { return _hidSeResult; }
    NxpSamFirmwareVersion GetNxpSamFirmwareVersion() const { return _nxpResult; }
    FelicaSamFirmwareVersion GetFelicaSamFirmwareVersion() const { return _felicaResult; }

private:
    FirmwareVersionModuleType _moduleType;
    HidSeSamFirmwareVersion _hidSeResult{};
    NxpSamFirmwareVersion _nxpResult{};
    FelicaSamFirmwareVersion _felicaResult{};
};
} // namespace PyxProtocol
