#include "Visitors/SetLuidVisitor.h"

#include "Commands/WithFeatureReportProtocol/SetLuidWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetLuidWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void SetLuidVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetLuidWithSerialBinaryProtocol command(_luid);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetLuidVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetLuid, Mfp24);
}

void SetLuidVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetLuidWithFeatureReportProtocol command(_luid);
    command.Execute(transport);
}
} // namespace PyxProtocol
