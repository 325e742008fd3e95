#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads block 5 of the active configuration.
class GetConfigurationBlock5Visitor final : public CommandVisitor
{
public:
    GetConfigurationBlock5Visitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    ReaderConfigurationBlock5 GetResult() const { return _result; }

private:
    ReaderConfigurationBlock5 _result{};
};
} // namespace PyxProtocol
