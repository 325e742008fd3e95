#include "Visitors/BeepVisitor.h"

#include "Commands/WithFeatureReportProtocol/BeepWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/BeepWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/BeepWithSerialBinaryProtocol.h"

namespace PyxProtocol
{
void BeepVisitor::ValidateArguments()
{
    if (_duration == BEEP_DURATION::BEEP_LONG && _count > 2)
    {
        PYX_THROW(ProtocolException, "When creating long beeps, only 1 or 2 beeps are allowed.");
    }
    if (_count > 5)
    {
        PYX_THROW(ProtocolException, "Only up to 5 short beeps, or 2 long beeps, can be produced.");
    }
    // A negative count is no more sensible than none; the facade's byte never produces one.
    if (_count <= 0)
    {
        PYX_THROW(ProtocolException, "A count of 0 beeps does not make sense.");
    }
}

void BeepVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    BeepWithSerialBinaryProtocol command(static_cast<std::uint8_t>(_count), _duration);
    command.Execute(transport);
    command.ValidateResponse();
}

void BeepVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    BeepWithMfp24Protocol command(static_cast<std::uint8_t>(_count), _duration);
    command.Execute(transport);
}

void BeepVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    BeepWithFeatureReportProtocol command(static_cast<std::uint32_t>(_count), _duration);
    command.Execute(transport);
}
} // namespace PyxProtocol
