#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads block 1 of the active configuration.
class GetConfigurationBlock1Visitor final : public CommandVisitor
{
public:
    GetConfigurationBlock1Visitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    ReaderConfigurationBlock1 GetResult() const { return _result; }

private:
    ReaderConfigurationBlock1 _result{};
};
} // namespace PyxProtocol
