#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes block 1 of the active configuration once every packed field fits its bits.
class SetConfigurationBlock1Visitor final : public CommandVisitor
{
public:
    explicit SetConfigurationBlock1Visitor(const ReaderConfigurationBlock1& block) : _block(block) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    ReaderConfigurationBlock1 _block;
};
} // namespace PyxProtocol
