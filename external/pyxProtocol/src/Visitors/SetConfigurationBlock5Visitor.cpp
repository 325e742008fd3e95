#include "Visitors/SetConfigurationBlock5Visitor.h"

#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock5WithSerialBinaryProtocol.h"
#include "Visitors/BlockRules.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
using Rule = Visitors::BlockRule<ReaderConfigurationBlock5>;

// Every field of block 5 is a whole byte (or two), so any value fits.
constexpr std::span<const Rule> kRules{};
} // namespace

void SetConfigurationBlock5Visitor::ValidateArguments()
{
    Visitors::ValidateBlock<ReaderConfigurationBlock5>("SetConfigurationBlock5Visitor", _block, kRules);
}

void SetConfigurationBlock5Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock5WithSerialBinaryProtocol command(_block);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetConfigurationBlock5Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetConfigurationBlock5, Mfp24);
}

void SetConfigurationBlock5Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock5WithFeatureReportProtocol command(_block);
    command.Execute(transport);
}
} // namespace PyxProtocol
