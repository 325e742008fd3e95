#include "Reader/ReaderConfigurationConversion.h"

#include <bit>
#include <cstdint>
#include <string>

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"

namespace Pyx
{
namespace
{
// Block 1 holds parity counts up to 15; block 4 holds what is above.
constexpr std::uint32_t kBlock1ParityLimit = 15;
constexpr std::uint16_t kHoldTimeStepMs = 50;
constexpr unsigned kKeyTimeShift = 2; // key times travel in steps of 4 ms

bool Flag(std::uint8_t member)
{
    return member != 0;
}
std::uint8_t FlagByte(std::uint8_t member)
{
    return member != 0 ? 1 : 0;
}

// Leading and trailing characters share three slots; larger counts would index past them.
void CheckCharacterCounts(std::uint32_t leading, std::uint32_t trailing)
{
    if (leading + trailing > PyxCommon::ReaderConfiguration::kLeadingTrailingCharacterSlots)
    {
        PYX_THROW(TessmarException,
                  fmt::format("Leading/Trailing Character counts {} and {} exceed the 3 character slots",
                              leading, trailing));
    }
}

// Leading characters fill the first slots, trailing ones the slots after them.
template <typename Slots>
void AddLeadingAndTrailingCharacters(PyxCommon::ReaderConfiguration& configuration, const Slots& slots,
                                     std::uint32_t leading, std::uint32_t trailing)
{
    CheckCharacterCounts(leading, trailing);
    for (std::uint32_t slot = 0; slot < leading; ++slot)
    {
        configuration.AddLeadingCharacter(static_cast<char>(slots[slot]));
    }
    for (std::uint32_t slot = leading; slot < leading + trailing; ++slot)
    {
        configuration.AddTrailingCharacter(static_cast<char>(slots[slot]));
    }
}

// Block 1 and the C record name these settings alike; both are applied in this order, so a value out of
// range fails on the same setting whichever side it comes from.
template <typename Source>
void ApplyDigitAndKeystrokeSettings(const Source& source, PyxCommon::ReaderConfiguration& configuration)
{
    configuration.SetIdBitCount(source.IdBitCount)
        .SetExpectedBitCount(source.ExpectedBitCount)
        .SetIdAndFacDelimiter(source.IdAndFacDelimiter)
        .SetTerminationCharacter(source.TerminationCharacter)
        .SetUseFixedLengthForFacAndId(Flag(source.UseFixedLengthForFacAndId))
        .SetEnforceExpectedBitCount(Flag(source.EnforceExpectedBitCount))
        .SetStripFacFromId(Flag(source.StripFacFromId))
        .SetSendFacAfterStrippingIt(Flag(source.SendFacAfterStrippingIt))
        .SetUseIdAndFacDelimiter(Flag(source.UseIdAndFacDelimiter))
        .SetDisableKeystrokeTerminationCharacter(Flag(source.DisableKeystrokeTerminationCharacter))
        .SetEnableContinuousRead(Flag(source.EnableContinuousRead))
        .SetDisableKeystroking(Flag(source.DisableKeystroking));
}

struct ParitySplit
{
    std::uint8_t block1;
    std::uint8_t block4;
};

ParitySplit SplitParity(std::uint8_t total)
{
    if (total >= kBlock1ParityLimit)
    {
        return {static_cast<std::uint8_t>(kBlock1ParityLimit),
                static_cast<std::uint8_t>(total - kBlock1ParityLimit)};
    }
    return {total, 0};
}
} // namespace

void ApplyConfigurationBlocks(const PyxProtocol::ReaderConfiguration& blocks,
                              PyxCommon::ReaderConfiguration& configuration)
{
    const auto& b1 = blocks.Block1;
    const auto& b2 = blocks.Block2;
    const auto& b3 = blocks.Block3;
    const auto& b4 = blocks.Block4;
    const auto& b5 = blocks.Block5;

    configuration.SetFacDigitCount(b1.FacDigitCount)
        .SetIdDigitCount(b1.IdDigitCount)
        .SetTotalStripLeadingParityCount(std::uint32_t{b1.StripLeadingParityCount} + b4.LeadingParityBig)
        .SetTotalStripTrailingParityCount(std::uint32_t{b1.StripTrailingParityCount} + b4.TrailingParityBig);
    ApplyDigitAndKeystrokeSettings(b1, configuration);
    configuration.SetDataHoldTimeMs(std::uint32_t{b2.DataHoldTime} * kHoldTimeStepMs)
        .SetLockOutTimeMs(std::uint32_t{b2.LockOutTime} * kHoldTimeStepMs)
        .SetKeyPressTimeMs(std::uint32_t{b2.KeyPressTime} << kKeyTimeShift)
        .SetKeyReleaseTimeMs(std::uint32_t{b2.KeyReleaseTime} << kKeyTimeShift)
        .SetEnableIdExtendedPrecision(Flag(b2.ExtendedPrecisionMath))
        .SetUseLowercaseHex(Flag(b2.LowercaseHex))
        .SetEnableProxProEmulation(Flag(b2.EmulateProxPro))
        .SetEnableHexadecimalId(Flag(b2.SendIdAsHex))
        .SetEnableHexadecimalFac(Flag(b2.SendFacAsHex))
        .SetUseIndividualIdAndFacNumberFormats(Flag(b2.ExtendFacIdHexCapable))
        .SetUseNumericKeypad(Flag(b2.UseNumericKeypad))
        .SetReaderSupportsReverseAllBytes(Flag(b2.ReaderSupportsReverseAllBytes))
        .SetReaderSupportsAsciiExtended(Flag(b2.ExtendedAscii))
        .SetReaderSupportsExtendedMode(Flag(b2.ExtendedOutputCapable))
        .SetEnableDravikMode(Flag(b2.Dravik))
        .SetEnableRedLed(FlagByte(b3.LedRed))
        .SetEnableGreenLed(FlagByte(b3.LedGreen))
        .SetEnableOemRelay(FlagByte(b3.OemRelay))
        .SetEnableOemBeeper(FlagByte(b3.OemBeeper))
        .SetUseLeadingCharacters(Flag(b3.UseLeadChars))
        .SetEnabledSoftwareControlledLed(Flag(b3.LedControlFlag))
        .SetUseHexadecimalForBothFacAndId(Flag(b3.DisplayFormatHex))
        .SetInvertWiegandBits(Flag(b3.WiegandDataInvert))
        .SetEnableBeepOnCardRead(Flag(b3.BeepIdValid))
        .SetReverseWiegandBits(Flag(b3.WiegandBitReverse))
        .SetReverseWiegandBytes(Flag(b3.WiegandByteReverse))
        .SetUseDataInvert(Flag(b3.UseDataInvert))
        .AddCardGoneCharacter(b3.CardGoneCharacter1)
        .AddCardGoneCharacter(b3.CardGoneCharacter2)
        .SetUseIndividualIdAndFacFixedLengths(Flag(b4.SplitFixedLength))
        .SetUseFixedLengthFac(Flag(b4.FixedLengthFac))
        .SetUseFixedLengthId(Flag(b4.FixedLengthId))
        .SetCfgRb3(b4.CfgRb3)
        .SetCfgRb4(b4.CfgRb4)
        .SetEnableFacExtendedPrecision(Flag(b4.HighPrecisionFac))
        .SetAzertyKeyboardShift(Flag(b4.AzertyKeyboardShift))
        .SetEnableExtendedMode(Flag(b4.EnableExtendedMode))
        .SetDisableCardConfiguration(Flag(b5.DisableCardConfiguration))
        .SetCardType(b5.CardType)
        .SetHighPriorityCardType(Flag(b5.SetHighPriorityCardType))
        .SetQuorvaneCompatibilityCharacter(b5.QuorvaneCompatibilityCharacter)
        .SetQuorvaneCharacterCount(b5.QuorvaneCharacterCount);

    const std::uint8_t slots[] = {b3.LeadingTrailingCharacter0, b3.LeadingTrailingCharacter1,
                                  b3.LeadingTrailingCharacter2};
    AddLeadingAndTrailingCharacters(configuration, slots, b3.LeadingCharCount, b3.TrailingCharCount);
}

PyxProtocol::ReaderConfiguration ToConfigurationBlocks(const PyxCommon::ReaderConfiguration& configuration)
{
    const auto& c = configuration;
    PyxProtocol::ReaderConfiguration blocks{};
    const ParitySplit leading = SplitParity(c.GetTotalStripLeadingParityCount());
    const ParitySplit trailing = SplitParity(c.GetTotalStripTrailingParityCount());

    auto& b1 = blocks.Block1;
    b1.FacDigitCount = c.GetFacDigitCount();
    b1.IdDigitCount = c.GetIdDigitCount();
    b1.StripLeadingParityCount = leading.block1;
    b1.StripTrailingParityCount = trailing.block1;
    b1.IdBitCount = c.GetIdBitCount();
    b1.ExpectedBitCount = c.GetExpectedBitCount();
    b1.IdAndFacDelimiter = c.GetIdAndFacDelimiter();
    b1.TerminationCharacter = c.GetTerminationCharacter();
    b1.UseFixedLengthForFacAndId = c.GetUseFixedLengthForFacAndId();
    b1.EnforceExpectedBitCount = c.GetEnforceExpectedBitCount();
    b1.StripFacFromId = c.GetStripFacFromId();
    b1.SendFacAfterStrippingIt = c.GetSendFacAfterStrippingIt();
    b1.UseIdAndFacDelimiter = c.GetUseIdAndFacDelimiter();
    b1.DisableKeystrokeTerminationCharacter = c.GetDisableKeystrokeTerminationCharacter();
    b1.EnableContinuousRead = c.GetEnableContinuousRead();
    b1.DisableKeystroking = c.GetDisableKeystroking();

    auto& b2 = blocks.Block2;
    b2.DataHoldTime = static_cast<std::uint8_t>(c.GetDataHoldTimeMs() / kHoldTimeStepMs);
    b2.LockOutTime = static_cast<std::uint8_t>(c.GetLockOutTimeMs() / kHoldTimeStepMs);
    b2.KeyPressTime = static_cast<std::uint8_t>(c.GetKeyPressTimeMs() >> kKeyTimeShift);
    b2.KeyReleaseTime = static_cast<std::uint8_t>(c.GetKeyReleaseTimeMs() >> kKeyTimeShift);
    b2.___ = 1; // the reader expects this bit set in every stored configuration
    b2.ExtendedPrecisionMath = c.GetEnableIdExtendedPrecision();
    b2.LowercaseHex = c.GetUseLowercaseHex();
    b2.EmulateProxPro = c.GetEnableProxProEmulation();
    b2.SendIdAsHex = c.GetEnableHexadecimalId();
    b2.SendFacAsHex = c.GetEnableHexadecimalFac();
    b2.ExtendFacIdHexCapable = c.GetUseIndividualIdAndFacNumberFormats();
    b2.UseNumericKeypad = c.GetUseNumericKeypad();

    auto& b3 = blocks.Block3;
    b3.LedRed = c.GetEnableRedLed();
    b3.LedGreen = c.GetEnableGreenLed();
    b3.OemRelay = c.GetEnableOemRelay();
    b3.OemBeeper = c.GetEnableOemBeeper();
    b3.UseLeadChars = c.GetUseLeadingCharacters();
    b3.LedControlFlag = c.GetEnabledSoftwareControlledLed();
    b3.DisplayFormatHex = c.GetUseHexadecimalForBothFacAndId();
    b3.WiegandDataInvert = c.GetInvertWiegandBits();
    b3.BeepIdValid = c.GetEnableBeepOnCardRead();
    b3.WiegandBitReverse = c.GetReverseWiegandBits();
    b3.WiegandByteReverse = c.GetReverseWiegandBytes();
    b3.UseDataInvert = c.GetUseDataInvert();
    b3.CardGoneCharacter1 = c.GetCardGoneCharacters()[0];
    b3.CardGoneCharacter2 = c.GetCardGoneCharacters()[1];
    b3.LeadingCharCount = c.GetLeadingCharacterCount();
    b3.TrailingCharCount = c.GetTrailingCharacterCount();
    b3.LeadingTrailingCharacter0 = c.GetLeadingTrailingCharacters()[0];
    b3.LeadingTrailingCharacter1 = c.GetLeadingTrailingCharacters()[1];
    b3.LeadingTrailingCharacter2 = c.GetLeadingTrailingCharacters()[2];

    auto& b4 = blocks.Block4;
    b4.LeadingParityBig = leading.block4;
    b4.TrailingParityBig = trailing.block4;
    b4.SplitFixedLength = c.GetUseIndividualIdAndFacFixedLengths();
    b4.FixedLengthFac = c.GetUseFixedLengthFac();
    b4.FixedLengthId = c.GetUseFixedLengthId();
    b4.CfgRb3 = c.GetCfgRb3();
    b4.CfgRb4 = c.GetCfgRb4();
    b4.HighPrecisionFac = c.GetEnableFacExtendedPrecision();
    b4.AzertyKeyboardShift = c.GetAzertyKeyboardShift();
    b4.EnableExtendedMode = c.GetEnableExtendedMode();

    auto& b5 = blocks.Block5;
    b5.DisableCardConfiguration = c.GetDisableCardConfiguration();
    b5.CardType = c.GetCardType();
    b5.SetHighPriorityCardType = c.GetHighPriorityCardType();
    b5.QuorvaneCompatibilityCharacter = c.GetQuorvaneCompatibilityCharacter();
    b5.QuorvaneCharacterCount = c.GetQuorvaneCharacterCount();
    return blocks;
}

PyxCommon::ReaderConfiguration SettingsWithoutBlockMember(const PyxCommon::ReaderConfiguration& held)
{
    // Through the C image, whose fields are open: no setter runs, so whatever the caller held is kept.
    const auto image = std::bit_cast<PyxReaderConfiguration>(held);
    PyxReaderConfiguration kept{};
    kept.LegacyBitStreamTimeOutMs = image.LegacyBitStreamTimeOutMs;
    kept.NotBootDevice = image.NotBootDevice;
    return std::bit_cast<PyxCommon::ReaderConfiguration>(kept);
}

void ApplyReaderOwnedSettings(PyxProtocol::ReaderConfiguration& blocks, const ReaderMetadataStruct& metadata)
{
    blocks.Block2.ReaderSupportsReverseAllBytes = metadata.ReaderSupportsReverseAllBytes;
    blocks.Block2.ExtendedAscii = metadata.ExtendedAscii;
    blocks.Block2.ExtendedOutputCapable = metadata.ExtendedOutputCapable;
    blocks.Block2.Dravik = metadata.Dravik;
}

PyxCommon::ReaderConfiguration FromConfigurationRecord(const PyxReaderConfiguration& r)
{
    PyxCommon::ReaderConfiguration configuration;
    configuration.SetFacDigitCount(r.FacDigitCount)
        .SetIdDigitCount(r.IdDigitCount)
        .SetTotalStripLeadingParityCount(r.TotalStripLeadingParityCount)
        .SetTotalStripTrailingParityCount(r.TotalStripTrailingParityCount);
    ApplyDigitAndKeystrokeSettings(r, configuration);
    configuration.SetLegacyBitStreamTimeOutMs(r.LegacyBitStreamTimeOutMs)
        .SetDataHoldTimeMs(r.DataHoldTimeMs)
        .SetLockOutTimeMs(r.LockOutTimeMs)
        .SetKeyPressTimeMs(r.KeyPressTimeMs)
        .SetKeyReleaseTimeMs(r.KeyReleaseTimeMs)
        .SetEnableIdExtendedPrecision(Flag(r.EnableIdExtendedPrecision))
        .SetUseLowercaseHex(Flag(r.UseLowercaseHex))
        .SetEnableProxProEmulation(Flag(r.EnableProxProEmulation))
        .SetEnableHexadecimalId(Flag(r.EnableHexadecimalId))
        .SetEnableHexadecimalFac(Flag(r.EnableHexadecimalFac))
        .SetUseIndividualIdAndFacNumberFormats(Flag(r.UseIndividualIdAndFacNumberFormats))
        .SetUseNumericKeypad(Flag(r.UseNumericKeypad))
        .SetReaderSupportsReverseAllBytes(Flag(r.ReaderSupportsReverseAllBytes))
        .SetReaderSupportsAsciiExtended(Flag(r.ReaderSupportsAsciiExtended))
        .SetReaderSupportsExtendedMode(Flag(r.ReaderSupportsExtendedMode))
        .SetEnableDravikMode(Flag(r.EnableDravikMode))
        .SetEnableRedLed(FlagByte(r.EnableRedLed))
        .SetEnableGreenLed(FlagByte(r.EnableGreenLed))
        .SetEnableOemRelay(FlagByte(r.EnableOemRelay))
        .SetEnableOemBeeper(FlagByte(r.EnableOemBeeper))
        .SetNotBootDevice(Flag(r.NotBootDevice))
        .SetUseLeadingCharacters(Flag(r.UseLeadingCharacters))
        .SetEnabledSoftwareControlledLed(Flag(r.EnabledSoftwareControlledLed))
        .SetUseHexadecimalForBothFacAndId(Flag(r.UseHexadecimalForBothFacAndId))
        .SetInvertWiegandBits(Flag(r.InvertWiegandBits))
        .SetEnableBeepOnCardRead(Flag(r.EnableBeepOnCardRead))
        .SetReverseWiegandBits(Flag(r.ReverseWiegandBits))
        .SetReverseWiegandBytes(Flag(r.ReverseWiegandBytes))
        .SetUseDataInvert(Flag(r.UseDataInvert))
        .AddCardGoneCharacter(r.CardGoneCharacters[0])
        .AddCardGoneCharacter(r.CardGoneCharacters[1])
        .SetUseIndividualIdAndFacFixedLengths(Flag(r.UseIndividualIdAndFacFixedLengths))
        .SetUseFixedLengthFac(Flag(r.UseFixedLengthFac))
        .SetUseFixedLengthId(Flag(r.UseFixedLengthId))
        .SetCfgRb3(r.CfgRb3)
        .SetCfgRb4(r.CfgRb4)
        .SetEnableFacExtendedPrecision(Flag(r.EnableFacExtendedPrecision))
        .SetAzertyKeyboardShift(Flag(r.AzertyKeyboardShift))
        .SetEnableExtendedMode(Flag(r.EnableExtendedMode))
        .SetDisableCardConfiguration(Flag(r.DisableCardConfiguration))
        .SetCardType(r.CardType)
        .SetHighPriorityCardType(Flag(r.HighPriorityCardType))
        .SetQuorvaneCompatibilityCharacter(r.QuorvaneCompatibilityCharacter)
        .SetQuorvaneCharacterCount(r.QuorvaneCharacterCount);
    AddLeadingAndTrailingCharacters(configuration, r.LeadingTrailingCharacters, r.LeadingCharacterCount,
                                    r.TrailingCharacterCount);
    return configuration;
}
} // namespace Pyx
