#pragma once

#include <string>

#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the part number.
class GetPartNumberVisitor final : public CommandVisitor
{
public:
    GetPartNumberVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    std::string GetResult() const { return _result; }

private:
    std::string _result;
};
} // namespace PyxProtocol
