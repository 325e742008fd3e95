#include "Visitors/GetRadioFirmwareVersionVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetRadioFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetRadioFirmwareVersionWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetRadioFirmwareVersionVisitor::ValidateArguments()
{
    if (_moduleType == FirmwareVersionModuleType::NotSpecified)
    {
        PYX_THROW(ProtocolException, "Module type must be specified");
    }
}

void GetRadioFirmwareVersionVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetRadioFirmwareVersionWithSerialBinaryProtocol command(_moduleType);
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetRadioFirmwareVersionVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetRadioFirmwareVersion, Mfp24);
}

void GetRadioFirmwareVersionVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetRadioFirmwareVersionWithFeatureReportProtocol command(_moduleType);
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
