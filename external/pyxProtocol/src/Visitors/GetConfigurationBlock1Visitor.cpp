#include "Visitors/GetConfigurationBlock1Visitor.h"

#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock1WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetConfigurationBlock1Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock1WithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetConfigurationBlock1Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetConfigurationBlock1, Mfp24);
}

void GetConfigurationBlock1Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock1WithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
