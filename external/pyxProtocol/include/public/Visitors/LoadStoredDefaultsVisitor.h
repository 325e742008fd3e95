#pragma once

#include <memory>

#include "Utility/TimeDelay.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reloads the stored defaults. A SerialBinary reader needs 1200 ms after its acknowledgement, waited
// through the owned delay.
class LoadStoredDefaultsVisitor final : public CommandVisitor
{
public:
    // Without a delay object the visitor makes a plain one.
    explicit LoadStoredDefaultsVisitor(std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr);

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    std::unique_ptr<PyxCommon::TimeDelay> _delay;
};
} // namespace PyxProtocol
