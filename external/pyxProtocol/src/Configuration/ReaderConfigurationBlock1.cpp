#include "Configuration/BlockCodec.h"

namespace PyxProtocol
{
namespace
{
using B = ReaderConfigurationBlock1;
constexpr std::array<Detail::BlockField<B>, 16> kFields{{
    {&B::FacDigitCount, 0, 0, 8, "FAC Digit Count: "},
    {&B::IdDigitCount, 1, 0, 8, "ID Digit Count: "},
    {&B::StripLeadingParityCount, 2, 0, 4, "Strip Leading Parity Count: "},
    {&B::StripTrailingParityCount, 2, 4, 4, "Strip Trailing Parity Count: "},
    {&B::IdBitCount, 3, 0, 8, "ID Bit Count: "},
    {&B::ExpectedBitCount, 4, 0, 8, "Expected Bit Count: "},
    {&B::IdAndFacDelimiter, 5, 0, 8, "ID and FAC Delimiter: "},
    {&B::TerminationCharacter, 6, 0, 8, "Termination Character: "},
    {&B::UseFixedLengthForFacAndId, 7, 0, 1, "Use Fixed Length for FAC and ID: "},
    {&B::EnforceExpectedBitCount, 7, 1, 1, "Enforce Expected Bit Count: "},
    {&B::StripFacFromId, 7, 2, 1, "Strip FAC from ID: "},
    {&B::SendFacAfterStrippingIt, 7, 3, 1, "Send FAC after Stripping It: "},
    {&B::UseIdAndFacDelimiter, 7, 4, 1, "Use ID and FAC Delimiter: "},
    {&B::DisableKeystrokeTerminationCharacter, 7, 5, 1, "Disable Keystroke Termination Character: "},
    {&B::EnableContinuousRead, 7, 6, 1, "Enable Continuous Read: "},
    {&B::DisableKeystroking, 7, 7, 1, "Disable Keystroking: "},
}};
} // namespace

PYX_DEFINE_BLOCK_CODECS(ReaderConfigurationBlock1, kFields);
} // namespace PyxProtocol
