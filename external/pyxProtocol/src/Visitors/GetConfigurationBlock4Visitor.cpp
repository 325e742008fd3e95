#include "Visitors/GetConfigurationBlock4Visitor.h"

#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock4WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetConfigurationBlock4Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock4WithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetConfigurationBlock4Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetConfigurationBlock4, Mfp24);
}

void GetConfigurationBlock4Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetConfigurationBlock4WithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
