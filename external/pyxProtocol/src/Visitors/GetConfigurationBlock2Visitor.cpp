#include "Visitors/GetConfigurationBlock2Visitor.h"

#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock2WithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetConfigurationBlock2Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock2WithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetConfigurationBlock2Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetConfigurationBlock2, Mfp24);
}

void GetConfigurationBlock2Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock2WithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
