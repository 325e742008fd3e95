#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes block 4 of the active configuration once every packed field fits its bits.
class SetConfigurationBlock4Visitor final : public CommandVisitor
{
public:
    explicit SetConfigurationBlock4Visitor(const ReaderConfigurationBlock4& block) : _block(block) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    ReaderConfigurationBlock4 _block;
};
} // namespace PyxProtocol
