#include "Visitors/GetLuidVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetLuidWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetLuidWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetLuidVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetLuidWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetLuidVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetLuid, Mfp24);
}

void GetLuidVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetLuidWithFeatureReportProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
