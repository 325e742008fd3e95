#include "Visitors/GetStringVisitor.h"

#include <string>

#include "Commands/WithFeatureReportProtocol/GetStringWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetStringWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetStringVisitor::ValidateArguments()
{
    const auto index = static_cast<std::uint8_t>(_index);
    if (index == 0 || index > 8)
    {
        PYX_THROW(ProtocolException, "Invalid GetStringIndex value: " + std::to_string(index));
    }
}

void GetStringVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetStringWithSerialBinaryProtocol command(_index);
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}

void GetStringVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetString, Mfp24);
}

void GetStringVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetStringWithFeatureReportProtocol command(_index);
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
