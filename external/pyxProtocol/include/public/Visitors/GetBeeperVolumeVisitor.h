#pragma once

#include "Operations/Beeper.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the beeper volume.
class GetBeeperVolumeVisitor final : public CommandVisitor
{
public:
    GetBeeperVolumeVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    BeepVolume GetResult() const { return _result; }

private:
    BeepVolume _result{};
};
} // namespace PyxProtocol
