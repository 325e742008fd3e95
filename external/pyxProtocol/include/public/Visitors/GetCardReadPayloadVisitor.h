#pragma once

#include "Operations/CardData.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads the last card: its bit count and up to 32 data bytes, zero behind what the reader sent.
class GetCardReadPayloadVisitor final : public CommandVisitor
{
public:
    explicit GetCardReadPayloadVisitor(GetCardDataSizeParameters size) : _size(size) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    CardReadPayload GetResult() const { return _result; }

private:
    GetCardDataSizeParameters _size;
    CardReadPayload _result{};
};
} // namespace PyxProtocol
