#include "Visitors/SetBleBlobVisitor.h"

#include "Commands/WithFeatureReportProtocol/SetBleBlobWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint32_t kPollDelayMilliseconds = 10;
constexpr std::int32_t kAttemptLimit = 100;
} // namespace

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
    SetBleBlobWithFeatureReportProtocol command(_dataType, _data, kPollDelayMilliseconds, kAttemptLimit,
                                                std::move(_delay));
    command.Execute(transport);
}
} // namespace PyxProtocol
