#include "Visitors/SetBeeperVolumeVisitor.h"

#include "Commands/WithFeatureReportProtocol/SetBeeperVolumeWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/SetBeeperVolumeWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/SetBeeperVolumeWithSerialBinaryProtocol.h"

namespace PyxProtocol
{
void SetBeeperVolumeVisitor::ValidateArguments()
{
    if (static_cast<std::uint8_t>(_volume) > 3)
    {
        PYX_THROW(ProtocolException, "Beep volume is out of range");
    }
}

void SetBeeperVolumeVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetBeeperVolumeWithSerialBinaryProtocol command(_volume);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetBeeperVolumeVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetBeeperVolumeWithMfp24Protocol command(_volume);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetBeeperVolumeVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetBeeperVolumeWithFeatureReportProtocol command(_volume);
    command.Execute(transport);
    command.ValidateResponse();
}
} // namespace PyxProtocol
