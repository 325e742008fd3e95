#include "Visitors/GetInstalledHardwareVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetInstalledHardwareWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetInstalledHardwareWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/GetInstalledHardwareWithSerialBinaryProtocol.h"

namespace PyxProtocol
{
void GetInstalledHardwareVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetInstalledHardwareWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetInstalledHardwareVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetInstalledHardwareWithMfp24Protocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetInstalledHardwareVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetInstalledHardwareWithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
