#include "Visitors/GetBleBlobVisitor.h"

#include "Commands/WithFeatureReportProtocol/GetBleBlobWithFeatureReportProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint32_t kPollDelayMilliseconds = 10;
constexpr std::int32_t kAttemptLimit = 100;
} // namespace

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
    GetBleBlobWithFeatureReportProtocol command(_dataType, kPollDelayMilliseconds, kAttemptLimit,
                                                std::move(_delay));
    command.Execute(transport);
    command.ValidateResponse();
    _result = command.GetResult();
}
} // namespace PyxProtocol
