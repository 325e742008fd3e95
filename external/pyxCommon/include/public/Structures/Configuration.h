#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "PyxExport.h"

namespace PyxCommon
{
static_assert(std::endian::native == std::endian::little,
              "the configuration records are little-endian images");

#pragma pack(push, 1)
// One configuration slot of a reader as the interfaces see it: 71 bytes, byte-packed, and byte for byte the
// C interface's record. A new record is all zero. Setters validate, throw TessmarException and leave the
// record unchanged when they refuse, and return the record so that calls chain. Flags are stored as bytes: a
// caller-filled image may hold any value there, and every non-zero byte reads as true.
class PYX_API ReaderConfiguration
{
public:
    static constexpr std::size_t kCardGoneCharacterSlots = 2;
    // Leading and trailing characters share these slots, the leading ones first.
    static constexpr std::size_t kLeadingTrailingCharacterSlots = 3;

    // Digit counts 0 to 26; parity counts 0 to 142. Values are tested before they are narrowed.
    ReaderConfiguration& SetFacDigitCount(std::uint32_t value);
    ReaderConfiguration& SetIdDigitCount(std::uint32_t value);
    ReaderConfiguration& SetTotalStripLeadingParityCount(std::uint32_t value);
    ReaderConfiguration& SetTotalStripTrailingParityCount(std::uint32_t value);
    ReaderConfiguration& SetIdBitCount(std::uint8_t value) { return Store(IdBitCount, value); }
    ReaderConfiguration& SetExpectedBitCount(std::uint8_t value) { return Store(ExpectedBitCount, value); }
    ReaderConfiguration& SetIdAndFacDelimiter(std::uint8_t value) { return Store(IdAndFacDelimiter, value); }
    ReaderConfiguration& SetTerminationCharacter(std::uint8_t value)
    {
        return Store(TerminationCharacter, value);
    }
    ReaderConfiguration& SetUseFixedLengthForFacAndId(bool value)
    {
        return Flag(UseFixedLengthForFacAndId, value);
    }
    ReaderConfiguration& SetEnforceExpectedBitCount(bool value)
    {
        return Flag(EnforceExpectedBitCount, value);
    }
    ReaderConfiguration& SetStripFacFromId(bool value) { return Flag(StripFacFromId, value); }
    ReaderConfiguration& SetSendFacAfterStrippingIt(bool value)
    {
        return Flag(SendFacAfterStrippingIt, value);
    }
    ReaderConfiguration& SetUseIdAndFacDelimiter(bool value) { return Flag(UseIdAndFacDelimiter, value); }
    ReaderConfiguration& SetDisableKeystrokeTerminationCharacter(bool value)
    {
        return Flag(DisableKeystrokeTerminationCharacter, value);
    }
    ReaderConfiguration& SetEnableContinuousRead(bool value) { return Flag(EnableContinuousRead, value); }
    ReaderConfiguration& SetDisableKeystroking(bool value) { return Flag(DisableKeystroking, value); }
    // Timing in milliseconds, in the reader's steps: the step is tested first, then the range.
    ReaderConfiguration& SetLegacyBitStreamTimeOutMs(std::uint32_t value); // multiple of 4, up to 1020
    ReaderConfiguration& SetDataHoldTimeMs(std::uint32_t value);           // multiple of 50, up to 12750
    ReaderConfiguration& SetLockOutTimeMs(std::uint32_t value);            // multiple of 50, up to 12750
    ReaderConfiguration& SetKeyPressTimeMs(std::uint32_t value);           // multiple of 4, up to 1020
    ReaderConfiguration& SetKeyReleaseTimeMs(std::uint32_t value);         // multiple of 4, up to 1020
    ReaderConfiguration& SetEnableIdExtendedPrecision(bool value)
    {
        return Flag(EnableIdExtendedPrecision, value);
    }
    ReaderConfiguration& SetUseLowercaseHex(bool value) { return Flag(UseLowercaseHex, value); }
    ReaderConfiguration& SetEnableProxProEmulation(bool value) { return Flag(EnableProxProEmulation, value); }
    ReaderConfiguration& SetEnableHexadecimalId(bool value) { return Flag(EnableHexadecimalId, value); }
    ReaderConfiguration& SetEnableHexadecimalFac(bool value) { return Flag(EnableHexadecimalFac, value); }
    ReaderConfiguration& SetUseIndividualIdAndFacNumberFormats(bool value)
    {
        return Flag(UseIndividualIdAndFacNumberFormats, value);
    }
    ReaderConfiguration& SetUseNumericKeypad(bool value) { return Flag(UseNumericKeypad, value); }
    ReaderConfiguration& SetReaderSupportsReverseAllBytes(bool value)
    {
        return Flag(ReaderSupportsReverseAllBytes, value);
    }
    ReaderConfiguration& SetReaderSupportsAsciiExtended(bool value)
    {
        return Flag(ReaderSupportsAsciiExtended, value);
    }
    ReaderConfiguration& SetReaderSupportsExtendedMode(bool value)
    {
        return Flag(ReaderSupportsExtendedMode, value);
    }
    ReaderConfiguration& SetEnableDravikMode(bool value) { return Flag(EnableDravikMode, value); }
    ReaderConfiguration& SetEnableRedLed(std::uint8_t value) { return Store(EnableRedLed, value); }
    ReaderConfiguration& SetEnableGreenLed(std::uint8_t value) { return Store(EnableGreenLed, value); }
    ReaderConfiguration& SetEnableOemRelay(std::uint8_t value) { return Store(EnableOemRelay, value); }
    ReaderConfiguration& SetEnableOemBeeper(std::uint8_t value) { return Store(EnableOemBeeper, value); }
    ReaderConfiguration& SetNotBootDevice(bool value) { return Flag(NotBootDevice, value); }
    ReaderConfiguration& SetUseLeadingCharacters(bool value) { return Flag(UseLeadingCharacters, value); }
    ReaderConfiguration& SetEnabledSoftwareControlledLed(bool value)
    {
        return Flag(EnabledSoftwareControlledLed, value);
    }
    ReaderConfiguration& SetUseHexadecimalForBothFacAndId(bool value)
    {
        return Flag(UseHexadecimalForBothFacAndId, value);
    }
    ReaderConfiguration& SetInvertWiegandBits(bool value) { return Flag(InvertWiegandBits, value); }
    ReaderConfiguration& SetEnableBeepOnCardRead(bool value) { return Flag(EnableBeepOnCardRead, value); }
    ReaderConfiguration& SetReverseWiegandBits(bool value) { return Flag(ReverseWiegandBits, value); }
    ReaderConfiguration& SetReverseWiegandBytes(bool value) { return Flag(ReverseWiegandBytes, value); }
    ReaderConfiguration& SetUseDataInvert(bool value) { return Flag(UseDataInvert, value); }
    ReaderConfiguration& SetUseIndividualIdAndFacFixedLengths(bool value)
    {
        return Flag(UseIndividualIdAndFacFixedLengths, value);
    }
    ReaderConfiguration& SetUseFixedLengthFac(bool value) { return Flag(UseFixedLengthFac, value); }
    ReaderConfiguration& SetUseFixedLengthId(bool value) { return Flag(UseFixedLengthId, value); }
    ReaderConfiguration& SetCfgRb3(std::uint8_t value) { return Store(CfgRb3, value); }
    ReaderConfiguration& SetCfgRb4(std::uint8_t value) { return Store(CfgRb4, value); }
    ReaderConfiguration& SetEnableFacExtendedPrecision(bool value)
    {
        return Flag(EnableFacExtendedPrecision, value);
    }
    ReaderConfiguration& SetAzertyKeyboardShift(bool value) { return Flag(AzertyKeyboardShift, value); }
    ReaderConfiguration& SetEnableExtendedMode(bool value) { return Flag(EnableExtendedMode, value); }
    ReaderConfiguration& SetDisableCardConfiguration(bool value)
    {
        return Flag(DisableCardConfiguration, value);
    }
    ReaderConfiguration& SetCardType(std::uint16_t value)
    {
        CardType = value;
        return *this;
    }
    ReaderConfiguration& SetHighPriorityCardType(bool value) { return Flag(HighPriorityCardType, value); }
    ReaderConfiguration& SetQuorvaneCompatibilityCharacter(std::uint8_t value)
    {
        return Store(QuorvaneCompatibilityCharacter, value);
    }
    ReaderConfiguration& SetQuorvaneCharacterCount(std::uint8_t value)
    {
        return Store(QuorvaneCharacterCount, value);
    }

    // Fills the first empty (zero) card-gone slot; refused when both hold a character.
    ReaderConfiguration& AddCardGoneCharacter(std::uint8_t character);
    // A zero character is ignored. Leading and trailing characters together are at most three; a leading
    // character goes after the leading ones already present, in front of the trailing ones.
    ReaderConfiguration& AddLeadingCharacter(char character);
    ReaderConfiguration& AddTrailingCharacter(char character);
    // Leading or trailing character `index`, 0 when there is none at that index.
    std::uint8_t GetLeadingCharacter(std::size_t index) const;
    std::uint8_t GetTrailingCharacter(std::size_t index) const;

    std::uint8_t GetFacDigitCount() const { return FacDigitCount; }
    std::uint8_t GetIdDigitCount() const { return IdDigitCount; }
    std::uint8_t GetTotalStripLeadingParityCount() const { return TotalStripLeadingParityCount; }
    std::uint8_t GetTotalStripTrailingParityCount() const { return TotalStripTrailingParityCount; }
    std::uint8_t GetIdBitCount() const { return IdBitCount; }
    std::uint8_t GetExpectedBitCount() const { return ExpectedBitCount; }
    std::uint8_t GetIdAndFacDelimiter() const { return IdAndFacDelimiter; }
    std::uint8_t GetTerminationCharacter() const { return TerminationCharacter; }
    bool GetUseFixedLengthForFacAndId() const { return UseFixedLengthForFacAndId != 0; }
    bool GetEnforceExpectedBitCount() const { return EnforceExpectedBitCount != 0; }
    bool GetStripFacFromId() const { return StripFacFromId != 0; }
    bool GetSendFacAfterStrippingIt() const { return SendFacAfterStrippingIt != 0; }
    bool GetUseIdAndFacDelimiter() const { return UseIdAndFacDelimiter != 0; }
    bool GetDisableKeystrokeTerminationCharacter() const { return DisableKeystrokeTerminationCharacter != 0; }
    bool GetEnableContinuousRead() const { return EnableContinuousRead != 0; }
    bool GetDisableKeystroking() const { return DisableKeystroking != 0; }
    std::uint16_t GetLegacyBitStreamTimeOutMs() const { return LegacyBitStreamTimeOutMs; }
    std::uint16_t GetDataHoldTimeMs() const { return DataHoldTimeMs; }
    std::uint16_t GetLockOutTimeMs() const { return LockOutTimeMs; }
    std::uint16_t GetKeyPressTimeMs() const { return KeyPressTimeMs; }
    std::uint16_t GetKeyReleaseTimeMs() const { return KeyReleaseTimeMs; }
    bool GetEnableIdExtendedPrecision() const { return EnableIdExtendedPrecision != 0; }
    bool GetUseLowercaseHex() const { return UseLowercaseHex != 0; }
    bool GetEnableProxProEmulation() const { return EnableProxProEmulation != 0; }
    bool GetEnableHexadecimalId() const { return EnableHexadecimalId != 0; }
    bool GetEnableHexadecimalFac() const { return EnableHexadecimalFac != 0; }
    bool GetUseIndividualIdAndFacNumberFormats() const { return UseIndividualIdAndFacNumberFormats != 0; }
    bool GetUseNumericKeypad() const { return UseNumericKeypad != 0; }
    bool GetReaderSupportsReverseAllBytes() const { return ReaderSupportsReverseAllBytes != 0; }
    bool GetReaderSupportsAsciiExtended() const { return ReaderSupportsAsciiExtended != 0; }
    bool GetReaderSupportsExtendedMode() const { return ReaderSupportsExtendedMode != 0; }
    bool GetEnableDravikMode() const { return EnableDravikMode != 0; }
    std::uint8_t GetEnableRedLed() const { return EnableRedLed; }
    std::uint8_t GetEnableGreenLed() const { return EnableGreenLed; }
    std::uint8_t GetEnableOemRelay() const { return EnableOemRelay; }
    std::uint8_t GetEnableOemBeeper() const { return EnableOemBeeper; }
    bool GetNotBootDevice() const { return NotBootDevice != 0; }
    bool GetUseLeadingCharacters() const { return UseLeadingCharacters != 0; }
    bool GetEnabledSoftwareControlledLed() const { return EnabledSoftwareControlledLed != 0; }
    bool GetUseHexadecimalForBothFacAndId() const { return UseHexadecimalForBothFacAndId != 0; }
    bool GetInvertWiegandBits() const { return InvertWiegandBits != 0; }
    bool GetEnableBeepOnCardRead() const { return EnableBeepOnCardRead != 0; }
    bool GetReverseWiegandBits() const { return ReverseWiegandBits != 0; }
    bool GetReverseWiegandBytes() const { return ReverseWiegandBytes != 0; }
    bool GetUseDataInvert() const { return UseDataInvert != 0; }
    const std::array<std::uint8_t, kCardGoneCharacterSlots>& GetCardGoneCharacters() const
    {
        return CardGoneCharacters;
    }
    std::uint8_t GetLeadingCharacterCount() const { return LeadingCharacterCount; }
    std::uint8_t GetTrailingCharacterCount() const { return TrailingCharacterCount; }
    const std::array<std::uint8_t, kLeadingTrailingCharacterSlots>& GetLeadingTrailingCharacters() const
    {
        return LeadingTrailingCharacters;
    }
    bool GetUseIndividualIdAndFacFixedLengths() const { return UseIndividualIdAndFacFixedLengths != 0; }
    bool GetUseFixedLengthFac() const { return UseFixedLengthFac != 0; }
    bool GetUseFixedLengthId() const { return UseFixedLengthId != 0; }
    std::uint8_t GetCfgRb3() const { return CfgRb3; }
    std::uint8_t GetCfgRb4() const { return CfgRb4; }
    bool GetEnableFacExtendedPrecision() const { return EnableFacExtendedPrecision != 0; }
    bool GetAzertyKeyboardShift() const { return AzertyKeyboardShift != 0; }
    bool GetEnableExtendedMode() const { return EnableExtendedMode != 0; }
    bool GetDisableCardConfiguration() const { return DisableCardConfiguration != 0; }
    std::uint16_t GetCardType() const { return CardType; }
    bool GetHighPriorityCardType() const { return HighPriorityCardType != 0; }
    std::uint8_t GetQuorvaneCompatibilityCharacter() const { return QuorvaneCompatibilityCharacter; }
    std::uint8_t GetQuorvaneCharacterCount() const { return QuorvaneCharacterCount; }

private:
    ReaderConfiguration& Store(std::uint8_t& field, std::uint8_t value)
    {
        field = value;
        return *this;
    }
    ReaderConfiguration& Flag(std::uint8_t& field, bool value) { return Store(field, value ? 1 : 0); }
    // The number of leading and trailing characters held, never more than the slots, even when a
    // caller-filled image carries larger counts.
    std::size_t UsedCharacterSlots() const;

    std::uint8_t FacDigitCount = 0;
    std::uint8_t IdDigitCount = 0;
    std::uint8_t TotalStripLeadingParityCount = 0;
    std::uint8_t TotalStripTrailingParityCount = 0;
    std::uint8_t IdBitCount = 0;
    std::uint8_t ExpectedBitCount = 0;
    std::uint8_t IdAndFacDelimiter = 0;
    std::uint8_t TerminationCharacter = 0;
    std::uint8_t UseFixedLengthForFacAndId = 0;
    std::uint8_t EnforceExpectedBitCount = 0;
    std::uint8_t StripFacFromId = 0;
    std::uint8_t SendFacAfterStrippingIt = 0;
    std::uint8_t UseIdAndFacDelimiter = 0;
    std::uint8_t DisableKeystrokeTerminationCharacter = 0;
    std::uint8_t EnableContinuousRead = 0;
    std::uint8_t DisableKeystroking = 0;
    std::uint16_t LegacyBitStreamTimeOutMs = 0;
    std::uint16_t DataHoldTimeMs = 0;
    std::uint16_t LockOutTimeMs = 0;
    std::uint16_t KeyPressTimeMs = 0;
    std::uint16_t KeyReleaseTimeMs = 0;
    std::uint8_t EnableIdExtendedPrecision = 0;
    std::uint8_t UseLowercaseHex = 0;
    std::uint8_t EnableProxProEmulation = 0;
    std::uint8_t EnableHexadecimalId = 0;
    std::uint8_t EnableHexadecimalFac = 0;
    std::uint8_t UseIndividualIdAndFacNumberFormats = 0;
    std::uint8_t UseNumericKeypad = 0;
    std::uint8_t ReaderSupportsReverseAllBytes = 0;
    std::uint8_t ReaderSupportsAsciiExtended = 0;
    std::uint8_t ReaderSupportsExtendedMode = 0;
    std::uint8_t EnableDravikMode = 0;
    std::uint8_t EnableRedLed = 0;
    std::uint8_t EnableGreenLed = 0;
    std::uint8_t EnableOemRelay = 0;
    std::uint8_t EnableOemBeeper = 0;
    std::uint8_t NotBootDevice = 0;
    std::uint8_t UseLeadingCharacters = 0;
    std::uint8_t EnabledSoftwareControlledLed = 0;
    std::uint8_t UseHexadecimalForBothFacAndId = 0;
    std::uint8_t InvertWiegandBits = 0;
    std::uint8_t EnableBeepOnCardRead = 0;
    std::uint8_t ReverseWiegandBits = 0;
    std::uint8_t ReverseWiegandBytes = 0;
    std::uint8_t UseDataInvert = 0;
    std::array<std::uint8_t, kCardGoneCharacterSlots> CardGoneCharacters{};
    std::uint8_t LeadingCharacterCount = 0;
    std::uint8_t TrailingCharacterCount = 0;
    std::array<std::uint8_t, kLeadingTrailingCharacterSlots> LeadingTrailingCharacters{};
    std::uint8_t UseIndividualIdAndFacFixedLengths = 0;
    std::uint8_t UseFixedLengthFac = 0;
    std::uint8_t UseFixedLengthId = 0;
    std::uint8_t CfgRb3 = 0;
    std::uint8_t CfgRb4 = 0;
    std::uint8_t EnableFacExtendedPrecision = 0;
    std::uint8_t AzertyKeyboardShift = 0;
    std::uint8_t EnableExtendedMode = 0;
    std::uint8_t DisableCardConfiguration = 0;
    std::uint16_t CardType = 0;
    std::uint8_t HighPriorityCardType = 0;
    std::uint8_t QuorvaneCompatibilityCharacter = 0;
    std::uint8_t QuorvaneCharacterCount = 0;

    // The image is shared with the C interface, so its layout is pinned here, where the fields are visible.
    static void CheckLayout()
    {
        static_assert(offsetof(ReaderConfiguration, FacDigitCount) == 0);
        static_assert(offsetof(ReaderConfiguration, IdDigitCount) == 1);
        static_assert(offsetof(ReaderConfiguration, TotalStripLeadingParityCount) == 2);
        static_assert(offsetof(ReaderConfiguration, TotalStripTrailingParityCount) == 3);
        static_assert(offsetof(ReaderConfiguration, IdBitCount) == 4);
        static_assert(offsetof(ReaderConfiguration, ExpectedBitCount) == 5);
        static_assert(offsetof(ReaderConfiguration, IdAndFacDelimiter) == 6);
        static_assert(offsetof(ReaderConfiguration, TerminationCharacter) == 7);
        static_assert(offsetof(ReaderConfiguration, UseFixedLengthForFacAndId) == 8);
        static_assert(offsetof(ReaderConfiguration, EnforceExpectedBitCount) == 9);
        static_assert(offsetof(ReaderConfiguration, StripFacFromId) == 10);
        static_assert(offsetof(ReaderConfiguration, SendFacAfterStrippingIt) == 11);
        static_assert(offsetof(ReaderConfiguration, UseIdAndFacDelimiter) == 12);
        static_assert(offsetof(ReaderConfiguration, DisableKeystrokeTerminationCharacter) == 13);
        static_assert(offsetof(ReaderConfiguration, EnableContinuousRead) == 14);
        static_assert(offsetof(ReaderConfiguration, DisableKeystroking) == 15);
        static_assert(offsetof(ReaderConfiguration, LegacyBitStreamTimeOutMs) == 16);
        static_assert(offsetof(ReaderConfiguration, DataHoldTimeMs) == 18);
        static_assert(offsetof(ReaderConfiguration, LockOutTimeMs) == 20);
        static_assert(offsetof(ReaderConfiguration, KeyPressTimeMs) == 22);
        static_assert(offsetof(ReaderConfiguration, KeyReleaseTimeMs) == 24);
        static_assert(offsetof(ReaderConfiguration, EnableIdExtendedPrecision) == 26);
        static_assert(offsetof(ReaderConfiguration, UseLowercaseHex) == 27);
        static_assert(offsetof(ReaderConfiguration, EnableProxProEmulation) == 28);
        static_assert(offsetof(ReaderConfiguration, EnableHexadecimalId) == 29);
        static_assert(offsetof(ReaderConfiguration, EnableHexadecimalFac) == 30);
        static_assert(offsetof(ReaderConfiguration, UseIndividualIdAndFacNumberFormats) == 31);
        static_assert(offsetof(ReaderConfiguration, UseNumericKeypad) == 32);
        static_assert(offsetof(ReaderConfiguration, ReaderSupportsReverseAllBytes) == 33);
        static_assert(offsetof(ReaderConfiguration, ReaderSupportsAsciiExtended) == 34);
        static_assert(offsetof(ReaderConfiguration, ReaderSupportsExtendedMode) == 35);
        static_assert(offsetof(ReaderConfiguration, EnableDravikMode) == 36);
        static_assert(offsetof(ReaderConfiguration, EnableRedLed) == 37);
        static_assert(offsetof(ReaderConfiguration, EnableGreenLed) == 38);
        static_assert(offsetof(ReaderConfiguration, EnableOemRelay) == 39);
        static_assert(offsetof(ReaderConfiguration, EnableOemBeeper) == 40);
        static_assert(offsetof(ReaderConfiguration, NotBootDevice) == 41);
        static_assert(offsetof(ReaderConfiguration, UseLeadingCharacters) == 42);
        static_assert(offsetof(ReaderConfiguration, EnabledSoftwareControlledLed) == 43);
        static_assert(offsetof(ReaderConfiguration, UseHexadecimalForBothFacAndId) == 44);
        static_assert(offsetof(ReaderConfiguration, InvertWiegandBits) == 45);
        static_assert(offsetof(ReaderConfiguration, EnableBeepOnCardRead) == 46);
        static_assert(offsetof(ReaderConfiguration, ReverseWiegandBits) == 47);
        static_assert(offsetof(ReaderConfiguration, ReverseWiegandBytes) == 48);
        static_assert(offsetof(ReaderConfiguration, UseDataInvert) == 49);
        static_assert(offsetof(ReaderConfiguration, CardGoneCharacters) == 50);
        static_assert(offsetof(ReaderConfiguration, LeadingCharacterCount) == 52);
        static_assert(offsetof(ReaderConfiguration, TrailingCharacterCount) == 53);
        static_assert(offsetof(ReaderConfiguration, LeadingTrailingCharacters) == 54);
        static_assert(offsetof(ReaderConfiguration, UseIndividualIdAndFacFixedLengths) == 57);
        static_assert(offsetof(ReaderConfiguration, UseFixedLengthFac) == 58);
        static_assert(offsetof(ReaderConfiguration, UseFixedLengthId) == 59);
        static_assert(offsetof(ReaderConfiguration, CfgRb3) == 60);
        static_assert(offsetof(ReaderConfiguration, CfgRb4) == 61);
        static_assert(offsetof(ReaderConfiguration, EnableFacExtendedPrecision) == 62);
        static_assert(offsetof(ReaderConfiguration, AzertyKeyboardShift) == 63);
        static_assert(offsetof(ReaderConfiguration, EnableExtendedMode) == 64);
        static_assert(offsetof(ReaderConfiguration, DisableCardConfiguration) == 65);
        static_assert(offsetof(ReaderConfiguration, CardType) == 66);
        static_assert(offsetof(ReaderConfiguration, HighPriorityCardType) == 68);
        static_assert(offsetof(ReaderConfiguration, QuorvaneCompatibilityCharacter) == 69);
        static_assert(offsetof(ReaderConfiguration, QuorvaneCharacterCount) == 70);
    }
};
#pragma pack(pop)

static_assert(sizeof(ReaderConfiguration) == 71);
static_assert(std::is_standard_layout_v<ReaderConfiguration>);
static_assert(std::is_trivially_copyable_v<ReaderConfiguration>);
} // namespace PyxCommon
