#include "Visitors/ConfigureModuleStateVisitor.h"

#include "Commands/WithFeatureReportProtocol/ConfigureModuleStateWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void ConfigureModuleStateVisitor::ValidateArguments()
{
    if (_module == ReaderModuleId::Invalid)
    {
        PYX_THROW(ProtocolException, "Invalid ModuleId.");
    }
    // Only a set sends the state; a query carries none, so its state argument is not the caller's to fill.
    if (_action == ReaderModuleAction::Set && _state == ReaderModuleState::Invalid)
    {
        PYX_THROW(ProtocolException, "Invalid ReaderModuleState.");
    }
}

void ConfigureModuleStateVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(ConfigureModuleState, SerialBinary);
}

void ConfigureModuleStateVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(ConfigureModuleState, Mfp24);
}

void ConfigureModuleStateVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    ConfigureModuleStateWithFeatureReportProtocol command(_action, _module, _state);
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
