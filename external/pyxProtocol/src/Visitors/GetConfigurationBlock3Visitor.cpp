#include "Visitors/GetConfigurationBlock3Visitor.h"

#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock3WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock3WithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetConfigurationBlock3Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock3WithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetConfigurationBlock3Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetConfigurationBlock3, Mfp24);
}

void GetConfigurationBlock3Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock3WithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
