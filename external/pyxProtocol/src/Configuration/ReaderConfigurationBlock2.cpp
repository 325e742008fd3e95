#include "Configuration/BlockCodec.h"

namespace PyxProtocol
{
namespace
{
using B = ReaderConfigurationBlock2;
// Bytes 0 and 1 and the two underscore fields carry whatever the reader holds there: decoded and encoded
// so that a read-modify-write keeps them, but never printed.
constexpr std::array<Detail::BlockField<B>, 19> kFields{{
    {&B::_, 0, 0, 8, nullptr},
    {&B::__, 1, 0, 8, nullptr},
    {&B::DataHoldTime, 2, 0, 8, "DataHoldTime: "},
    {&B::LockOutTime, 3, 0, 8, "LockOutTime: "},
    {&B::KeyPressTime, 4, 0, 8, "KeyPressTime: "},
    {&B::KeyReleaseTime, 5, 0, 8, "KeyReleaseTime: "},
    {&B::___, 6, 0, 1, nullptr},
    {&B::ExtendedPrecisionMath, 6, 1, 1, "EnableIdExtendedPrecision: "},
    {&B::LowercaseHex, 6, 2, 1, "UseLowercaseHex: "},
    {&B::EmulateProxPro, 6, 3, 1, "EnableProxProEmulation: "},
    {&B::SendIdAsHex, 6, 4, 1, "EnableHexadecimalId: "},
    {&B::SendFacAsHex, 6, 5, 1, "EnableHexadecimalFac: "},
    {&B::ExtendFacIdHexCapable, 6, 6, 1, "UseIndividualIdAndFacNumberFormats: "},
    {&B::UseNumericKeypad, 6, 7, 1, "UseNumericKeypad: "},
    {&B::____, 7, 0, 4, nullptr},
    {&B::ReaderSupportsReverseAllBytes, 7, 4, 1, "ReaderSupportsReverseAllBytes: "},
    {&B::ExtendedAscii, 7, 5, 1, "ReaderSupportsAsciiExtended: "},
    {&B::ExtendedOutputCapable, 7, 6, 1, "ReaderSupportsExtendedMode: "},
    {&B::Dravik, 7, 7, 1, "EnableDravikMode: "},
}};
} // namespace

PYX_DEFINE_BLOCK_CODECS(ReaderConfigurationBlock2, kFields);
} // namespace PyxProtocol
