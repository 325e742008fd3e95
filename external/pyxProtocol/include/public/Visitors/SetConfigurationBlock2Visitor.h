#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes block 2 of the active configuration once every packed field fits its bits.
class SetConfigurationBlock2Visitor final : public CommandVisitor
{
public:
    explicit SetConfigurationBlock2Visitor(const ReaderConfigurationBlock2& block) : _block(block) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    ReaderConfigurationBlock2 _block;
};
} // namespace PyxProtocol
