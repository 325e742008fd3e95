#include "Visitors/GetBleBlobVisitor.h"

#include "Commands/WithFeatureReportProtocol/BleBlobExchange.h"
#include "Commands/WithFeatureReportProtocol/GetBleBlobWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void GetBleBlobVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetBleBlob, SerialBinary);
}

void GetBleBlobVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetBleBlob, Mfp24);
}

void GetBleBlobVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetBleBlobWithFeatureReportProtocol command(_dataType, BleBlob::kPollDelayMs, BleBlob::kAttemptLimit,
                                                std::move(_delay));
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
