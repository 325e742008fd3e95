#include "Visitors/GetControlFirmwareVersionVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetControlFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetControlFirmwareVersionWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetControlFirmwareVersionVisitor::ValidateArguments()
{
    if (_moduleType == FirmwareVersionModuleType::NotSpecified)
    {
        PYX_THROW(ProtocolException, "Module type must be specified");
    }
}

void GetControlFirmwareVersionVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetControlFirmwareVersionWithSerialBinaryProtocol command(_moduleType);
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetControlFirmwareVersionVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetControlFirmwareVersion, Mfp24);
}

void GetControlFirmwareVersionVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetControlFirmwareVersionWithFeatureReportProtocol command(_moduleType);
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
