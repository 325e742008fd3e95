#include "Visitors/SetActiveConfigurationVisitor.h"

#include "Commands/WithFeatureReportProtocol/SetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void SetActiveConfigurationVisitor::ValidateArguments()
{
    if (_configurationNumber > 3)
    {
        PYX_THROW(ProtocolException, "Configuration number must be between 0 and 3.");
    }
}

void SetActiveConfigurationVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetActiveConfigurationWithSerialBinaryProtocol command(_configurationNumber);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetActiveConfigurationVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetActiveConfiguration, Mfp24);
}

void SetActiveConfigurationVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetActiveConfigurationWithFeatureReportProtocol command(_configurationNumber);
    command.Execute(transport);
}
} // namespace PyxProtocol
