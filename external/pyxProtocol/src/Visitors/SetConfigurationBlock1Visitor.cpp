#include "Visitors/SetConfigurationBlock1Visitor.h"

#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock1WithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Visitors/BlockRules.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
using Rule = Visitors::BlockRule<ReaderConfigurationBlock1>;
using B = ReaderConfigurationBlock1;

// The digit counts stay within what the reader can type; the parity counts and flags fit their bits.
// IdBitCount, ExpectedBitCount, IdAndFacDelimiter and TerminationCharacter are whole bytes.
// clang-format off
constexpr Rule kRules[] = {
    {"ReaderConfigurationBlock1::FacDigitCount", &B::FacDigitCount, 0, 26},
    {"ReaderConfigurationBlock1::IdDigitCount", &B::IdDigitCount, 0, 26},
    {"ReaderConfigurationBlock1::StripLeadingParityCount", &B::StripLeadingParityCount, 0, 15},
    {"ReaderConfigurationBlock1::StripTrailingParityCount", &B::StripTrailingParityCount, 0, 15},
    {"ReaderConfigurationBlock1::UseFixedLengthForFacAndId", &B::UseFixedLengthForFacAndId, 0, 1},
    {"ReaderConfigurationBlock1::EnforceExpectedBitCount", &B::EnforceExpectedBitCount, 0, 1},
    {"ReaderConfigurationBlock1::StripFacFromId", &B::StripFacFromId, 0, 1},
    {"ReaderConfigurationBlock1::SendFacAfterStrippingIt", &B::SendFacAfterStrippingIt, 0, 1},
    {"ReaderConfigurationBlock1::UseIdAndFacDelimiter", &B::UseIdAndFacDelimiter, 0, 1},
    {"ReaderConfigurationBlock1::DisableKeystrokeTerminationCharacter", &B::DisableKeystrokeTerminationCharacter, 0, 1},
    {"ReaderConfigurationBlock1::EnableContinuousRead", &B::EnableContinuousRead, 0, 1},
    {"ReaderConfigurationBlock1::DisableKeystroking", &B::DisableKeystroking, 0, 1},
};
// clang-format on
} // namespace

void SetConfigurationBlock1Visitor::ValidateArguments()
{
    Visitors::ValidateBlock<ReaderConfigurationBlock1>("SetConfigurationBlock1Visitor", _block, kRules);
}

void SetConfigurationBlock1Visitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock1WithSerialBinaryProtocol command(_block);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetConfigurationBlock1Visitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetConfigurationBlock1, Mfp24);
}

void SetConfigurationBlock1Visitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetConfigurationBlock1WithFeatureReportProtocol command(_block);
    command.Execute(transport);
}
} // namespace PyxProtocol
