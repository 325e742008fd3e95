#include "Visitors/GetActiveConfigurationVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetActiveConfigurationVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    _result = {};
    ValidateArguments();
    GetActiveConfigurationWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetActiveConfigurationVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetActiveConfiguration, Mfp24);
}

void GetActiveConfigurationVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    _result = {};
    ValidateArguments();
    GetActiveConfigurationWithFeatureReportProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
