#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads block 4 of the active configuration.
class GetConfigurationBlock4Visitor final : public CommandVisitor
{
public:
    GetConfigurationBlock4Visitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    ReaderConfigurationBlock4 GetResult() const { return _result; }

private:
    ReaderConfigurationBlock4 _result{};
};
} // namespace PyxProtocol
