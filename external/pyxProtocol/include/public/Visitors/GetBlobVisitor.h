#pragma once

#include <cstdint>
#include <vector>

#include "Structures/SmartCardConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads one smart-card configuration blob: the data the header announces, padded to whole 4-byte words.
class GetBlobVisitor final : public CommandVisitor
{
public:
    explicit GetBlobVisitor(const PyxCommon::BlobHeader& header) : _header(header) {}

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    std::vector<std::uint8_t> GetResult() const { return _result; }

private:
    std::vector<std::uint8_t> _result;
    PyxCommon::BlobHeader _header;
};
} // namespace PyxProtocol
