#include "Visitors/SetConfigurationBlock4Visitor.h"

#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock4WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Visitors/BlockRules.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
using Rule = Visitors::BlockRule<ReaderConfigurationBlock4>;
using B = ReaderConfigurationBlock4;

// LeadingParityBig has seven bits, the other fields fit their bit groups; TrailingParityBig, CfgRb3, CfgRb4
// and EnableExtendedMode are whole bytes.
// clang-format off
constexpr Rule kRules[] = {
    {"ReaderConfigurationBlock4::LeadingParityBig", &B::LeadingParityBig, 0, 127},
    {"ReaderConfigurationBlock4::SplitFixedLength", &B::SplitFixedLength, 0, 1},
    {"ReaderConfigurationBlock4::FixedLengthFac", &B::FixedLengthFac, 0, 1},
    {"ReaderConfigurationBlock4::FixedLengthId", &B::FixedLengthId, 0, 1},
    {"ReaderConfigurationBlock4::_", &B::_, 0, 31},
    {"ReaderConfigurationBlock4::__", &B::__, 0, 1},
    {"ReaderConfigurationBlock4::HighPrecisionFac", &B::HighPrecisionFac, 0, 1},
    {"ReaderConfigurationBlock4::___", &B::___, 0, 63},
    {"ReaderConfigurationBlock4::____", &B::____, 0, 1},
    {"ReaderConfigurationBlock4::AzertyKeyboardShift", &B::AzertyKeyboardShift, 0, 1},
    {"ReaderConfigurationBlock4::_____", &B::_____, 0, 63},
};
// clang-format on
} // namespace

void SetConfigurationBlock4Visitor::ValidateArguments()
{
    Visitors::ValidateBlock<ReaderConfigurationBlock4>("SetConfigurationBlock4Visitor", _block, kRules);
}

void SetConfigurationBlock4Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock4WithSerialBinaryProtocol command(_block);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetConfigurationBlock4Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetConfigurationBlock4, Mfp24);
}

void SetConfigurationBlock4Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock4WithFeatureReportProtocol command(_block);
    command.Execute(transport);
}
} // namespace PyxProtocol
