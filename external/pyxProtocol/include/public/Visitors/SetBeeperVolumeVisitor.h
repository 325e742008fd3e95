#pragma once

#include "Operations/Beeper.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Sets the beeper volume, 0 to 3.
class SetBeeperVolumeVisitor final : public CommandVisitor
{
public:
    explicit SetBeeperVolumeVisitor(BeepVolume volume) : _volume(volume) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    BeepVolume _volume;
};
} // namespace PyxProtocol
