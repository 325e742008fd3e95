#pragma once

#include <cstdint>
#include <vector>

#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the card-type codes the reader can read, in the reader's order.
class GetSupportedCardsVisitor final : public CommandVisitor
{
public:
    GetSupportedCardsVisitor() = default;

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    std::vector<std::uint16_t> GetResult() const { return _result; }

private:
    std::vector<std::uint16_t> _result;
};
} // namespace PyxProtocol
