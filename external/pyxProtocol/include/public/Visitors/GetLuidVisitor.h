#pragma once

#include "Operations/Identification.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the reader's locally assigned identifier.
class GetLuidVisitor final : public CommandVisitor
{
public:
    GetLuidVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    LuidResponseInformation GetResult() const { return _result; }

private:
    LuidResponseInformation _result{};
};
} // namespace PyxProtocol
