#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes block 3 of the active configuration once every packed field fits its bits.
class SetConfigurationBlock3Visitor final : public CommandVisitor
{
public:
    explicit SetConfigurationBlock3Visitor(const ReaderConfigurationBlock3& block) : _block(block) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    ReaderConfigurationBlock3 _block;
};
} // namespace PyxProtocol
