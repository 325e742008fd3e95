#include "Visitors/GetESNVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetESNWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetESNWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetESNVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetESNWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetESNVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetESN, Mfp24);
}

void GetESNVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetESNWithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
