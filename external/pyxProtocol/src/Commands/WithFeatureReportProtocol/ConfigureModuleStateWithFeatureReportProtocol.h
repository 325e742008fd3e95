#pragma once

#include "Commands/Command.h"
#include "Operations/ModuleState.h"

namespace PyxProtocol
{
// Reads (action 1) or sets (action 2) the state of one reader module; either way the reader reports the
// module's state. Only a set sends the state.
class ConfigureModuleStateWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    ConfigureModuleStateWithFeatureReportProtocol(ReaderModuleAction action, ReaderModuleId module,
                                                  ReaderModuleState state)
        : _action(action), _module(module), _state(state)
    {
    }

    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The echo 8C 0B, FF and the module asked for.
    void ValidateResponse() const;
    // The module's state at byte 4.
    ReaderModuleState GetResult() const;

private:
    ReaderModuleAction _action;
    ReaderModuleId _module;
    ReaderModuleState _state;
};
} // namespace PyxProtocol
