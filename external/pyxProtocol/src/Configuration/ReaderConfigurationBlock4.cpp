#include "Configuration/BlockCodec.h"

namespace PyxProtocol
{
namespace
{
using B = ReaderConfigurationBlock4;
constexpr std::array<Detail::BlockField<B>, 15> kFields{{
    {&B::LeadingParityBig, 0, 0, 8, "LargeStripLeadingParityCount: "},
    {&B::TrailingParityBig, 1, 0, 8, "LargeStripTrailingParityCount: "},
    {&B::SplitFixedLength, 2, 0, 1, "UseIndividualIdAndFacFixedLengths: "},
    {&B::FixedLengthFac, 2, 1, 1, "UseFixedLengthFac: "},
    {&B::FixedLengthId, 2, 2, 1, "UseFixedLengthId: "},
    {&B::_, 2, 3, 5, "_: "},
    {&B::CfgRb3, 3, 0, 8, "CfgRb3: "},
    {&B::CfgRb4, 4, 0, 8, "CfgRb4: "},
    {&B::__, 5, 0, 1, "__: "},
    {&B::HighPrecisionFac, 5, 1, 1, "EnableFacExtendedPrecision: "},
    {&B::___, 5, 2, 6, "___: "},
    {&B::____, 6, 0, 1, "____: "},
    {&B::AzertyKeyboardShift, 6, 1, 1, "AzertyKeyboardShift: "},
    {&B::_____, 6, 2, 6, "_____: "},
    {&B::EnableExtendedMode, 7, 0, 8, "EnableExtendedMode: "},
}};
} // namespace

PYX_DEFINE_BLOCK_CODECS(ReaderConfigurationBlock4, kFields);
} // namespace PyxProtocol
