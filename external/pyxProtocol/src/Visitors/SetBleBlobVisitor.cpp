#include "Visitors/SetBleBlobVisitor.h"

#include "Commands/WithFeatureReportProtocol/BleBlobExchange.h"
#include "Commands/WithFeatureReportProtocol/SetBleBlobWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
void SetBleBlobVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetBleBlob, SerialBinary);
}

void SetBleBlobVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetBleBlob, Mfp24);
}

void SetBleBlobVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetBleBlobWithFeatureReportProtocol command(_dataType, _data, BleBlob::kPollDelayMs,
                                                BleBlob::kAttemptLimit, std::move(_delay));
    command.Execute(transport);
}
} // namespace PyxProtocol
