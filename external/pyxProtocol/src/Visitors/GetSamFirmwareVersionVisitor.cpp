#include "Visitors/GetSamFirmwareVersionVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetSamFirmwareVersionWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetSamFirmwareVersionVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetSamFirmwareVersion, SerialBinary);
}

void GetSamFirmwareVersionVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetSamFirmwareVersion, Mfp24);
}

// The Felica module orders its version bytes unlike the other two, so the reply is decoded both ways.
void GetSamFirmwareVersionVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetSamFirmwareVersionWithFeatureReportProtocol command(_moduleType);
    command.Execute(transport);
    _felicaResult = command.GetFelicaSamResult();
    _nxpResult = command.GetMicrocontrollerResult();
    _hidSeResult = command.GetMicrocontrollerResult();
}
} // namespace PyxProtocol
