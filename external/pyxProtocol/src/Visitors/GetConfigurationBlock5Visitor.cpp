#include "Visitors/GetConfigurationBlock5Visitor.h"

#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock5WithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetConfigurationBlock5Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock5WithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetConfigurationBlock5Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetConfigurationBlock5, Mfp24);
}

void GetConfigurationBlock5Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock5WithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
