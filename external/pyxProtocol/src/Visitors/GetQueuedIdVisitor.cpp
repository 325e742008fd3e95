#include "Visitors/GetQueuedIdVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetQueuedIdWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetQueuedIdWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetQueuedIdVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetQueuedIdWithSerialBinaryProtocol command(_flags);
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetQueuedIdVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetQueuedId, Mfp24);
}

void GetQueuedIdVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetQueuedIdWithFeatureReportProtocol command(_flags);
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
