#include "Visitors/GetCardAnalyzerStatusVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetCardAnalyzerStatusWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetCardAnalyzerStatusWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetCardAnalyzerStatusVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetCardAnalyzerStatusWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetCardAnalyzerStatusVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetCardAnalyzerStatus, Mfp24);
}

void GetCardAnalyzerStatusVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetCardAnalyzerStatusWithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
