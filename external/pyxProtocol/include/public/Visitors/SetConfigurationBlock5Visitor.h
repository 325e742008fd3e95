#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes block 5 of the active configuration; every value of it is accepted.
class SetConfigurationBlock5Visitor final : public CommandVisitor
{
public:
    explicit SetConfigurationBlock5Visitor(const ReaderConfigurationBlock5& block) : _block(block) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    ReaderConfigurationBlock5 _block;
};
} // namespace PyxProtocol
