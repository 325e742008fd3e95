#pragma once

#include <cstdint>
#include <memory>

#include "Configuration/ConfigurationManagement.h"
#include "Utility/TimeDelay.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Copies a configuration between locations. The two further values reach the request unchecked (their low
// bytes). FeatureReport readers may copy the factory defaults to RAM; the other protocols refuse that.
class CopyConfigurationVisitor final : public CommandVisitor
{
public:
    // `serialDelay` paces the SerialBinary exchange; without one the command makes a plain one.
    CopyConfigurationVisitor(ConfigurationLocation source, ConfigurationLocation destination,
                             std::uint16_t value1, std::uint16_t value2,
                             std::unique_ptr<PyxCommon::TimeDelay> serialDelay = nullptr);

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    // Rules 1 and 2 of ValidateArguments; a FeatureReport reader does copy the factory defaults to RAM.
    void ValidateArgumentsForFeatureReportProtocol() const;

    ConfigurationLocation _source;
    ConfigurationLocation _destination;
    std::uint16_t _value1;
    std::uint16_t _value2;
    std::unique_ptr<PyxCommon::TimeDelay> _serialDelay;
};
} // namespace PyxProtocol
