#include "Visitors/GetBeeperVolumeVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetBeeperVolumeWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetBeeperVolumeWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetBeeperVolumeVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetBeeperVolumeWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetBeeperVolumeVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetBeeperVolume, Mfp24);
}

void GetBeeperVolumeVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetBeeperVolumeWithFeatureReportProtocol command;
    command.Execute(transport);
    _result = command.GetResult();
}
} // namespace PyxProtocol
