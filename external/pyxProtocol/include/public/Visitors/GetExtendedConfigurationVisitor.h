#pragma once

#include "Structures/ExtendedConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the extended (field and separator) configuration.
class GetExtendedConfigurationVisitor final : public CommandVisitor
{
public:
    GetExtendedConfigurationVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    PyxCommon::ExtendedConfiguration GetResult() const { return _result; }

private:
    PyxCommon::ExtendedConfiguration _result{};
};
} // namespace PyxProtocol
