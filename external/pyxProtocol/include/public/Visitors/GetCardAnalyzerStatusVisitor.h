#pragma once

#include "Operations/CardAnalyzer.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the card analyzer's status.
class GetCardAnalyzerStatusVisitor final : public CommandVisitor
{
public:
    GetCardAnalyzerStatusVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    CardAnalyzerStatus GetResult() const { return _result; }

private:
    CardAnalyzerStatus _result{};
};
} // namespace PyxProtocol
