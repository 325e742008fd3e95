#include "Visitors/SetConfigurationBlock3Visitor.h"

#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock3WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock3WithSerialBinaryProtocol.h"
#include "Visitors/BlockRules.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
using Rule = Visitors::BlockRule<ReaderConfigurationBlock3>;
using B = ReaderConfigurationBlock3;

// Flags, the three-bit group and the character counts fit their bits; the card-gone and leading and
// trailing characters are whole bytes.
// clang-format off
constexpr Rule kRules[] = {
    {"ReaderConfigurationBlock3::LedRed", &B::LedRed, 0, 1},
    {"ReaderConfigurationBlock3::LedGreen", &B::LedGreen, 0, 1},
    {"ReaderConfigurationBlock3::OemRelay", &B::OemRelay, 0, 1},
    {"ReaderConfigurationBlock3::OemBeeper", &B::OemBeeper, 0, 1},
    {"ReaderConfigurationBlock3::UxLed", &B::UxLed, 0, 1},
    {"ReaderConfigurationBlock3::_", &B::_, 0, 7},
    {"ReaderConfigurationBlock3::UseLeadChars", &B::UseLeadChars, 0, 1},
    {"ReaderConfigurationBlock3::LedControlFlag", &B::LedControlFlag, 0, 1},
    {"ReaderConfigurationBlock3::DisplayFormatHex", &B::DisplayFormatHex, 0, 1},
    {"ReaderConfigurationBlock3::WiegandDataInvert", &B::WiegandDataInvert, 0, 1},
    {"ReaderConfigurationBlock3::BeepIdValid", &B::BeepIdValid, 0, 1},
    {"ReaderConfigurationBlock3::WiegandBitReverse", &B::WiegandBitReverse, 0, 1},
    {"ReaderConfigurationBlock3::WiegandByteReverse", &B::WiegandByteReverse, 0, 1},
    {"ReaderConfigurationBlock3::UseDataInvert", &B::UseDataInvert, 0, 1},
    {"ReaderConfigurationBlock3::LeadingCharCount", &B::LeadingCharCount, 0, 15},
    {"ReaderConfigurationBlock3::TrailingCharCount", &B::TrailingCharCount, 0, 15},
};
// clang-format on
} // namespace

void SetConfigurationBlock3Visitor::ValidateArguments()
{
    Visitors::ValidateBlock<ReaderConfigurationBlock3>("SetConfigurationBlock3Visitor", _block, kRules);
}

void SetConfigurationBlock3Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock3WithSerialBinaryProtocol command(_block);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetConfigurationBlock3Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetConfigurationBlock3, Mfp24);
}

void SetConfigurationBlock3Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock3WithFeatureReportProtocol command(_block);
    command.Execute(transport);
}
} // namespace PyxProtocol
