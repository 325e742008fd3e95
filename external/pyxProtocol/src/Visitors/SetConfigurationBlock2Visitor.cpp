#include "Visitors/SetConfigurationBlock2Visitor.h"

#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock2WithSerialBinaryProtocol.h"
#include "Visitors/BlockRules.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
using Rule = Visitors::BlockRule<ReaderConfigurationBlock2>;
using B = ReaderConfigurationBlock2;

// Flags and the four-bit group fit their bits; the times and bytes 0 and 1 are whole bytes.
// clang-format off
constexpr Rule kRules[] = {
    {"ReaderConfigurationBlock2::___", &B::___, 0, 1},
    {"ReaderConfigurationBlock2::ExtendedPrecisionMath", &B::ExtendedPrecisionMath, 0, 1},
    {"ReaderConfigurationBlock2::LowercaseHex", &B::LowercaseHex, 0, 1},
    {"ReaderConfigurationBlock2::EmulateProxPro", &B::EmulateProxPro, 0, 1},
    {"ReaderConfigurationBlock2::SendIdAsHex", &B::SendIdAsHex, 0, 1},
    {"ReaderConfigurationBlock2::SendFacAsHex", &B::SendFacAsHex, 0, 1},
    {"ReaderConfigurationBlock2::ExtendFacIdHexCapable", &B::ExtendFacIdHexCapable, 0, 1},
    {"ReaderConfigurationBlock2::UseNumericKeypad", &B::UseNumericKeypad, 0, 1},
    {"ReaderConfigurationBlock2::____", &B::____, 0, 15},
    {"ReaderConfigurationBlock2::ReaderSupportsReverseAllBytes", &B::ReaderSupportsReverseAllBytes, 0, 1},
    {"ReaderConfigurationBlock2::ExtendedAscii", &B::ExtendedAscii, 0, 1},
    {"ReaderConfigurationBlock2::ExtendedOutputCapable", &B::ExtendedOutputCapable, 0, 1},
    {"ReaderConfigurationBlock2::Dravik", &B::Dravik, 0, 1},
};
// clang-format on
} // namespace

void SetConfigurationBlock2Visitor::ValidateArguments()
{
    Visitors::ValidateBlock<ReaderConfigurationBlock2>("SetConfigurationBlock2Visitor", _block, kRules);
}

void SetConfigurationBlock2Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock2WithSerialBinaryProtocol command(_block);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetConfigurationBlock2Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetConfigurationBlock2, Mfp24);
}

void SetConfigurationBlock2Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock2WithFeatureReportProtocol command(_block);
    command.Execute(transport);
}
} // namespace PyxProtocol
