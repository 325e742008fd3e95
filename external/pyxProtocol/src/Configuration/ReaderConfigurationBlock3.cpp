#include "Configuration/BlockCodec.h"

namespace PyxProtocol
{
namespace
{
using B = ReaderConfigurationBlock3;
constexpr std::array<Detail::BlockField<B>, 21> kFields{{
    {&B::LedRed, 0, 0, 1, "EnableRedLed: "},
    {&B::LedGreen, 0, 1, 1, "EnableGreenLed: "},
    {&B::OemRelay, 0, 2, 1, "EnableOemRelay: "},
    {&B::OemBeeper, 0, 3, 1, "EnableOemBeeper: "},
    {&B::UxLed, 0, 4, 1, "UxLed: "},
    {&B::_, 0, 5, 3, "_: "},
    {&B::UseLeadChars, 1, 0, 1, "UseLeadingCharacters: "},
    {&B::LedControlFlag, 1, 1, 1, "EnabledSoftwareControlledLed: "},
    {&B::DisplayFormatHex, 1, 2, 1, "UseHexadecimalForBothFacAndId: "},
    {&B::WiegandDataInvert, 1, 3, 1, "InvertWiegandBits: "},
    {&B::BeepIdValid, 1, 4, 1, "EnableBeepOnCardRead: "},
    {&B::WiegandBitReverse, 1, 5, 1, "ReverseWiegandBits: "},
    {&B::WiegandByteReverse, 1, 6, 1, "ReverseWiegandBytes: "},
    {&B::UseDataInvert, 1, 7, 1, "UseDataInvert: "},
    {&B::CardGoneCharacter1, 2, 0, 8, "CardGoneCharacter1: "},
    {&B::CardGoneCharacter2, 3, 0, 8, "CardGoneCharacter2: "},
    {&B::LeadingCharCount, 4, 0, 4, "LeadingCharacterCount: "},
    {&B::TrailingCharCount, 4, 4, 4, "TrailingCharacterCount: "},
    {&B::LeadingTrailingCharacter0, 5, 0, 8, "LeadingTrailingCharacter0: "},
    {&B::LeadingTrailingCharacter1, 6, 0, 8, "LeadingTrailingCharacter1: "},
    {&B::LeadingTrailingCharacter2, 7, 0, 8, "LeadingTrailingCharacter2: "},
}};
} // namespace

PYX_DEFINE_BLOCK_CODECS(ReaderConfigurationBlock3, kFields);
} // namespace PyxProtocol
