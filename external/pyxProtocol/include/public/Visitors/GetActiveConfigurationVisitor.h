#pragma once

#include "Configuration/ConfigurationManagement.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads which configuration is active and how many the reader holds.
class GetActiveConfigurationVisitor final : public CommandVisitor
{
public:
    GetActiveConfigurationVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    ActiveConfigurationInformation GetResult() const { return _result; }

private:
    ActiveConfigurationInformation _result{};
};
} // namespace PyxProtocol
