#include "Visitors/LoadStoredDefaultsVisitor.h"

#include "Commands/WithFeatureReportProtocol/LoadStoredDefaultsWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/LoadStoredDefaultsWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
// A SerialBinary reader acknowledges before it has finished reloading; it takes no request until then.
constexpr int kSerialBinaryReloadMilliseconds = 1200;
} // namespace

LoadStoredDefaultsVisitor::LoadStoredDefaultsVisitor(std::unique_ptr<PyxCommon::TimeDelay> delay)
    : _delay(delay ? std::move(delay) : std::make_unique<PyxCommon::TimeDelay>())
{
}

void LoadStoredDefaultsVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    LoadStoredDefaultsWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    _delay->DelayMilliseconds(kSerialBinaryReloadMilliseconds);
}

void LoadStoredDefaultsVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(LoadStoredDefaults, Mfp24);
}

void LoadStoredDefaultsVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    LoadStoredDefaultsWithFeatureReportProtocol command;
    command.Execute(transport);
}
} // namespace PyxProtocol
