#pragma once

#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Switches transparent mode on or off.
class EnableTransparentModeVisitor final : public CommandVisitor
{
public:
    explicit EnableTransparentModeVisitor(bool enable) : _enable(enable) {}

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    bool _enable;
};
} // namespace PyxProtocol
