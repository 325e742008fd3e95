#pragma once

#include "Operations/Identification.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads which modules the reader supports and has installed.
class GetInstalledHardwareVisitor final : public CommandVisitor
{
public:
    GetInstalledHardwareVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    InstalledHardwareInformation GetResult() const { return _result; }

private:
    InstalledHardwareInformation _result{};
};
} // namespace PyxProtocol
