#include "Visitors/WriteConfigurationVisitor.h"

#include "Commands/WithFeatureReportProtocol/WriteConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/WriteConfigurationWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void WriteConfigurationVisitor::ValidateArguments()
{
    if (_writeLuidToFlash != 0 && _writeLuidToFlash != 1)
    {
        PYX_THROW(ProtocolException, "WriteLuidToFlash parameter value must be 0 or 1.");
    }
}

void WriteConfigurationVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    WriteConfigurationWithSerialBinaryProtocol command(_writeLuidToFlash);
    command.Execute(transport);
    command.ValidateResponse();
}

void WriteConfigurationVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(WriteConfiguration, Mfp24);
}

// The FeatureReport request has no room for the value; it is checked all the same, so that a caller gets the
// same answer from every reader.
void WriteConfigurationVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    WriteConfigurationWithFeatureReportProtocol command;
    command.Execute(transport);
}
} // namespace PyxProtocol
