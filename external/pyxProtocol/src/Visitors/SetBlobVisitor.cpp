#include "Visitors/SetBlobVisitor.h"

#include "Commands/WithFeatureReportProtocol/SetBlobWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void SetBlobVisitor::ValidateArguments()
{
    if (_header.DataLength != _data.size())
    {
        PYX_THROW(ProtocolException, "Blob data length does not match with datalength in header");
    }
}

void SetBlobVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetBlob, SerialBinary);
}

void SetBlobVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetBlob, Mfp24);
}

void SetBlobVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetBlobWithFeatureReportProtocol command(
        _header, _data, _delay ? std::move(_delay) : std::make_unique<PyxCommon::TimeDelay>());
    command.Execute(transport);
    command.ValidateResponse();
}
} // namespace PyxProtocol
