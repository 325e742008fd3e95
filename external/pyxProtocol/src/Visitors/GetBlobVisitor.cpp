#include "Visitors/GetBlobVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetBlobWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetBlobVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetBlob, SerialBinary);
}

void GetBlobVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetBlob, Mfp24);
}

void GetBlobVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetBlobWithFeatureReportProtocol command(_header);
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
