#pragma once

#include "Operations/TransparentMode.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the transparent-mode status.
class GetTransparentModeStatusVisitor final : public CommandVisitor
{
public:
    GetTransparentModeStatusVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    TransparentModeStatusInformation GetResult() const { return _result; }

private:
    TransparentModeStatusInformation _result{};
};
} // namespace PyxProtocol
