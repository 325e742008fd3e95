#include "Visitors/GetTransparentModeStatusVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetTransparentModeStatusWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetTransparentModeStatusVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetTransparentModeStatus, SerialBinary);
}

void GetTransparentModeStatusVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetTransparentModeStatus, Mfp24);
}

void GetTransparentModeStatusVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetTransparentModeStatusWithFeatureReportProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
