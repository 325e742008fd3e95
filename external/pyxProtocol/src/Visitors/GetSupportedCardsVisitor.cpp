#include "Visitors/GetSupportedCardsVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetSupportedCardsWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetSupportedCardsWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/GetSupportedCardsWithSerialBinaryProtocol.h"

namespace PyxProtocol
{
void GetSupportedCardsVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetSupportedCardsWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetSupportedCardsVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetSupportedCardsWithMfp24Protocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetSupportedCardsVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetSupportedCardsWithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
