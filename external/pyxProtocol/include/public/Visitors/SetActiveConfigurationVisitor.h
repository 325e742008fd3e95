#pragma once

#include <cstdint>

#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Makes configuration 0 to 3 the active one; the block operations act on it.
class SetActiveConfigurationVisitor final : public CommandVisitor
{
public:
    explicit SetActiveConfigurationVisitor(std::uint8_t configurationNumber)
        : _configurationNumber(configurationNumber)
    {
    }

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    std::uint8_t _configurationNumber;
};
} // namespace PyxProtocol
