#include "Visitors/GetBluetoothFirmwareVersionVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetBluetoothFirmwareVersionWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetBluetoothFirmwareVersionWithMfp24Protocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetBluetoothFirmwareVersionVisitor::ValidateArguments()
{
    if (_moduleType == FirmwareVersionModuleType::NotSpecified)
    {
        PYX_THROW(ProtocolException, "Module type must be specified");
    }
}

void GetBluetoothFirmwareVersionVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetBluetoothFirmwareVersion, SerialBinary);
}

void GetBluetoothFirmwareVersionVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetBluetoothFirmwareVersionWithMfp24Protocol command(_moduleType);
    command.Execute(transport);
    _result = command.GetResult();
}

void GetBluetoothFirmwareVersionVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetBluetoothFirmwareVersionWithFeatureReportProtocol command(_moduleType);
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
