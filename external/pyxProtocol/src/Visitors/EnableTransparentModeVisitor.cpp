#include "Visitors/EnableTransparentModeVisitor.h"

#include "Commands/WithFeatureReportProtocol/EnableTransparentModeWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void EnableTransparentModeVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(EnableTransparentMode, SerialBinary);
}

void EnableTransparentModeVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(EnableTransparentMode, Mfp24);
}

void EnableTransparentModeVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    EnableTransparentModeWithFeatureReportProtocol command(_enable);
    command.Execute(transport);
    command.ValidateResponse();
}
} // namespace PyxProtocol
