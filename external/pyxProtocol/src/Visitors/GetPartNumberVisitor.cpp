#include "Visitors/GetPartNumberVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetPartNumberWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetPartNumberWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/GetPartNumberWithSerialBinaryProtocol.h"

namespace PyxProtocol
{
void GetPartNumberVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetPartNumberWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetPartNumberVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetPartNumberWithMfp24Protocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetPartNumberVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetPartNumberWithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
