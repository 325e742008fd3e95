#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads block 3 of the active configuration.
class GetConfigurationBlock3Visitor final : public CommandVisitor
{
public:
    GetConfigurationBlock3Visitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    ReaderConfigurationBlock3 GetResult() const { return _result; }

private:
    ReaderConfigurationBlock3 _result{};
};
} // namespace PyxProtocol
