#pragma once

#include <cstdint>

#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Stores the working configuration; WriteLuidToFlash 1 also stores the LUID (SerialBinary only carries it).
class WriteConfigurationVisitor final : public CommandVisitor
{
public:
    explicit WriteConfigurationVisitor(std::uint8_t writeLuidToFlash) : _writeLuidToFlash(writeLuidToFlash) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    std::uint8_t _writeLuidToFlash;
};
} // namespace PyxProtocol
