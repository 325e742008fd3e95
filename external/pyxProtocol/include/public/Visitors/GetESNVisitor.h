#pragma once

#include <string>

#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the electronic serial number.
class GetESNVisitor final : public CommandVisitor
{
public:
    GetESNVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    std::string GetResult() const { return _result; }

private:
    std::string _result;
};
} // namespace PyxProtocol
