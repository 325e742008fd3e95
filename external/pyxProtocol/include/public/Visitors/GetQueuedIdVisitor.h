#pragma once

#include "Operations/CardData.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the queued identifier; the flags go to the reader unchecked.
class GetQueuedIdVisitor final : public CommandVisitor
{
public:
    explicit GetQueuedIdVisitor(QueuedIdFlagParameters flags) : _flags(flags) {}

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    QueuedIdInformation GetResult() const { return _result; }

private:
    QueuedIdInformation _result{};
    QueuedIdFlagParameters _flags;
};
} // namespace PyxProtocol
