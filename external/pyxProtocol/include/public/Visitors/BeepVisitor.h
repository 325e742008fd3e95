#pragma once

#include <cstdint>

#include "Operations/Beeper.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Sounds the beeper: 1 to 5 short beeps, or 1 or 2 long ones.
class BeepVisitor final : public CommandVisitor
{
public:
    BeepVisitor(std::int32_t count, BEEP_DURATION duration) : _count(count), _duration(duration) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    std::int32_t _count;
    BEEP_DURATION _duration;
};
} // namespace PyxProtocol
