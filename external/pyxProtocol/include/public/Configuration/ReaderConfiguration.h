#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// The five 8-byte blocks in which a reader stores one configuration, one member per setting. A member of a
// bit field holds the field's value shifted down to bit 0. Every block has the same three codecs:
//   FromVector: the first 8 bytes of a vector to the record (fewer than 8 bytes are refused);
//   ToVector:   the record to exactly 8 bytes, each member cut to the width of its field;
//   ToString:   appends one "label: value\n" line per printed member to the given text, returns the whole.
namespace PyxProtocol
{
struct ReaderConfigurationBlock1
{
    std::uint8_t FacDigitCount = 0;
    std::uint8_t IdDigitCount = 0;
    std::uint8_t StripLeadingParityCount = 0;
    std::uint8_t StripTrailingParityCount = 0;
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

    static ReaderConfigurationBlock1 FromVector(const std::vector<std::uint8_t>& bytes);
    static std::vector<std::uint8_t> ToVector(const ReaderConfigurationBlock1& block);
    std::string ToString(std::string& text) const;
    bool operator==(const ReaderConfigurationBlock1&) const = default;
};

struct ReaderConfigurationBlock2
{
    std::uint8_t _ = 0;              // block byte 0, kept as the reader holds it, never printed
    std::uint8_t __ = 0;             // block byte 1, likewise
    std::uint8_t DataHoldTime = 0;   // units of 50 ms
    std::uint8_t LockOutTime = 0;    // units of 50 ms
    std::uint8_t KeyPressTime = 0;   // units of 4 ms
    std::uint8_t KeyReleaseTime = 0; // units of 4 ms
    std::uint8_t ___ = 0;
    std::uint8_t ExtendedPrecisionMath = 0;
    std::uint8_t LowercaseHex = 0;
    std::uint8_t EmulateProxPro = 0;
    std::uint8_t SendIdAsHex = 0;
    std::uint8_t SendFacAsHex = 0;
    std::uint8_t ExtendFacIdHexCapable = 0;
    std::uint8_t UseNumericKeypad = 0;
    std::uint8_t ____ = 0;
    std::uint8_t ReaderSupportsReverseAllBytes = 0;
    std::uint8_t ExtendedAscii = 0;
    std::uint8_t ExtendedOutputCapable = 0;
    std::uint8_t Dravik = 0;

    static ReaderConfigurationBlock2 FromVector(const std::vector<std::uint8_t>& bytes);
    static std::vector<std::uint8_t> ToVector(const ReaderConfigurationBlock2& block);
    std::string ToString(std::string& text) const;
    bool operator==(const ReaderConfigurationBlock2&) const = default;
};

struct ReaderConfigurationBlock3
{
    std::uint8_t LedRed = 0;
    std::uint8_t LedGreen = 0;
    std::uint8_t OemRelay = 0;
    std::uint8_t OemBeeper = 0;
    std::uint8_t UxLed = 0;
    std::uint8_t _ = 0;
    std::uint8_t UseLeadChars = 0;
    std::uint8_t LedControlFlag = 0;
    std::uint8_t DisplayFormatHex = 0;
    std::uint8_t WiegandDataInvert = 0;
    std::uint8_t BeepIdValid = 0;
    std::uint8_t WiegandBitReverse = 0;
    std::uint8_t WiegandByteReverse = 0;
    std::uint8_t UseDataInvert = 0;
    std::uint8_t CardGoneCharacter1 = 0;
    std::uint8_t CardGoneCharacter2 = 0;
    std::uint8_t LeadingCharCount = 0;
    std::uint8_t TrailingCharCount = 0;
    std::uint8_t LeadingTrailingCharacter0 = 0;
    std::uint8_t LeadingTrailingCharacter1 = 0;
    std::uint8_t LeadingTrailingCharacter2 = 0;

    static ReaderConfigurationBlock3 FromVector(const std::vector<std::uint8_t>& bytes);
    static std::vector<std::uint8_t> ToVector(const ReaderConfigurationBlock3& block);
    std::string ToString(std::string& text) const;
    bool operator==(const ReaderConfigurationBlock3&) const = default;
};

struct ReaderConfigurationBlock4
{
    std::uint8_t LeadingParityBig = 0;
    std::uint8_t TrailingParityBig = 0;
    std::uint8_t SplitFixedLength = 0;
    std::uint8_t FixedLengthFac = 0;
    std::uint8_t FixedLengthId = 0;
    std::uint8_t _ = 0;
    std::uint8_t CfgRb3 = 0;
    std::uint8_t CfgRb4 = 0;
    std::uint8_t __ = 0;
    std::uint8_t HighPrecisionFac = 0;
    std::uint8_t ___ = 0;
    std::uint8_t ____ = 0;
    std::uint8_t AzertyKeyboardShift = 0;
    std::uint8_t _____ = 0;
    std::uint8_t EnableExtendedMode = 0;

    static ReaderConfigurationBlock4 FromVector(const std::vector<std::uint8_t>& bytes);
    static std::vector<std::uint8_t> ToVector(const ReaderConfigurationBlock4& block);
    std::string ToString(std::string& text) const;
    bool operator==(const ReaderConfigurationBlock4&) const = default;
};

struct ReaderConfigurationBlock5
{
    std::uint8_t DisableCardConfiguration = 0;
    std::uint16_t CardType = 0; // block bytes 1 (low) and 2 (high)
    std::uint8_t SetHighPriorityCardType = 0;
    std::uint8_t QuorvaneCompatibilityCharacter = 0;
    std::uint8_t QuorvaneCharacterCount = 0;
    std::uint8_t _ = 0;
    std::uint8_t __ = 0;

    static ReaderConfigurationBlock5 FromVector(const std::vector<std::uint8_t>& bytes);
    static std::vector<std::uint8_t> ToVector(const ReaderConfigurationBlock5& block);
    std::string ToString(std::string& text) const;
    bool operator==(const ReaderConfigurationBlock5&) const = default;
};

// One stored configuration as the protocol facade reads and writes it.
struct ReaderConfiguration
{
    ReaderConfigurationBlock1 Block1;
    ReaderConfigurationBlock2 Block2;
    ReaderConfigurationBlock3 Block3;
    ReaderConfigurationBlock4 Block4;
    ReaderConfigurationBlock5 Block5;
    bool operator==(const ReaderConfiguration&) const = default;
};

// The records are plain values, copied whole into and out of commands and visitors.
static_assert(std::is_trivially_copyable_v<ReaderConfiguration> &&
              std::is_standard_layout_v<ReaderConfiguration>);
// Blocks 1 to 4 hold one byte per member, so their sizes are their member counts.
static_assert(sizeof(ReaderConfigurationBlock1) == 16);
static_assert(sizeof(ReaderConfigurationBlock2) == 19);
static_assert(sizeof(ReaderConfigurationBlock3) == 21);
static_assert(sizeof(ReaderConfigurationBlock4) == 15);

// Number of bytes in every block on the wire.
inline constexpr std::size_t ConfigurationBlockSize = 8;
} // namespace PyxProtocol
