#include "Visitors/GetExtendedConfigurationVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetExtendedConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetExtendedConfigurationWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetExtendedConfigurationVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetExtendedConfigurationWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetExtendedConfigurationVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetExtendedConfiguration, Mfp24);
}

void GetExtendedConfigurationVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetExtendedConfigurationWithFeatureReportProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
