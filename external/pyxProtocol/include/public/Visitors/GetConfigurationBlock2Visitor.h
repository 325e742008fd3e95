#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads block 2 of the active configuration.
class GetConfigurationBlock2Visitor final : public CommandVisitor
{
public:
    GetConfigurationBlock2Visitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    ReaderConfigurationBlock2 GetResult() const { return _result; }

private:
    ReaderConfigurationBlock2 _result{};
};
} // namespace PyxProtocol
