#pragma once

#include "Operations/ModuleState.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads (Get) or sets (Set) the state of one reader module; either way the result is the state the reader
// reports.
class ConfigureModuleStateVisitor final : public CommandVisitor
{
public:
    ConfigureModuleStateVisitor(ReaderModuleAction action, ReaderModuleId module, ReaderModuleState state)
        : _action(action), _module(module), _state(state)
    {
    }

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    ReaderModuleState GetResult() const { return _result; }

private:
    ReaderModuleAction _action;
    ReaderModuleId _module;
    ReaderModuleState _state;
    ReaderModuleState _result{};
};
} // namespace PyxProtocol
