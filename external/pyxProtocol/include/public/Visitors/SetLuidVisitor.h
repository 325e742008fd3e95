#pragma once

#include <cstdint>

#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Sets the reader's locally assigned identifier; every value is accepted.
class SetLuidVisitor final : public CommandVisitor
{
public:
    explicit SetLuidVisitor(std::uint16_t luid) : _luid(luid) {}

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    std::uint16_t _luid;
};
} // namespace PyxProtocol
