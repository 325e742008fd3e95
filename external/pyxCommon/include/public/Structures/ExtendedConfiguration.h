#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "PyxExport.h"

namespace PyxCommon
{
// The extended (field and separator) configuration: how card data is cut into fields and which characters
// are typed between them. Readers keep it as one 128-byte block; these records hold it one byte per field
// and convert it from and to that block. Every record is a plain, byte-packed value; a default one is zero.
// FromVector, ToVector and Validate throw TessmarException when they refuse.
#pragma pack(push, 1)
struct PYX_API FieldSeparatorDataHeader
{
    std::uint8_t Version = 0;
    std::uint8_t HeaderSize = 0;
    std::uint8_t FieldEntrySize = 0;
    std::uint8_t FieldEntryCount = 0;
    std::uint8_t SeparatorEntrySize = 0;
    std::uint8_t SeparatorEntryCount = 0;
    std::uint8_t MaxStorageSize = 0; // in units of 8 bytes

    static constexpr std::size_t kByteSize = 4;

    static FieldSeparatorDataHeader FromVector(const std::vector<std::uint8_t>& bytes);
    // Entry sizes travel halved; every field is cut to its bits.
    std::vector<std::uint8_t> ToVector() const;
    void Validate() const;
};

struct PYX_API FieldEntry
{
    std::uint8_t FieldValid = 0;
    std::uint8_t ConversionType = 0;
    std::uint8_t FixedFieldOutputLength = 0;
    std::uint8_t ReverseBits = 0;
    std::uint8_t ReverseBytes = 0;
    std::uint8_t FiveBMS = 0;
    std::uint8_t InvertBits = 0;
    std::uint8_t ReverseAllBytes = 0;
    std::uint8_t UseHash = 0;
    std::uint8_t ReservedFlag = 0; // bit 0 of byte 1, carried unchanged
    std::uint8_t StartingBitPosition = 0;
    std::uint8_t BitCountOfField = 0;

    static constexpr std::size_t kByteSize = 4;

    static FieldEntry FromVector(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> ToVector() const;
    void Validate() const;
};

struct PYX_API SeparatorCharacter
{
    std::uint8_t USBKeyScanCode = 0;
    std::uint8_t SecondByte = 0; // present in the block only for two-byte characters

    // One byte gives a character whose second byte is 0.
    static SeparatorCharacter FromVector(const std::vector<std::uint8_t>& bytes);
    // One byte when `characterSize` is 1, else two.
    std::vector<std::uint8_t> ToVector(std::uint8_t characterSize) const;
    void Validate() const;
};

struct PYX_API SeparatorEntry
{
    static constexpr std::size_t kMaxCharacters = 31;
    static constexpr std::size_t kByteSize = 2;

    std::uint8_t SeparatorValid = 0;
    std::uint8_t CharacterSize = 0; // bytes per character, 1 or 2
    std::uint8_t VirtualCharacterCount = 0;
    std::uint8_t ByteOffset = 0;
    std::array<SeparatorCharacter, kMaxCharacters> SeparatorCharacters{};

    // The entry's own two bytes; its characters stay zero (they follow all entries in the block).
    static SeparatorEntry FromVector(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> ToVector() const;
    // Also validates the characters in use.
    void Validate() const;
};

struct PYX_API ApplicationData
{
    std::uint8_t FieldDefinitionType = 0;
    std::uint8_t EnhanceSecurityFlag = 0;
    std::uint8_t MaxBitCount = 0;

    static constexpr std::size_t kByteSize = 2;

    static ApplicationData FromVector(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> ToVector() const;
    void Validate() const;
};

struct PYX_API ExtendedConfiguration
{
    static constexpr std::size_t kMaxFieldEntries = 31;
    static constexpr std::size_t kMaxSeparatorEntries = 31;
    static constexpr std::size_t kByteSize = 128;
    // The application data takes the last two bytes of the block; everything else must end before them.
    static constexpr std::size_t kApplicationDataOffset = kByteSize - PyxCommon::ApplicationData::kByteSize;

    PyxCommon::FieldSeparatorDataHeader FieldSeparatorDataHeader;
    std::array<FieldEntry, kMaxFieldEntries> FieldEntries{};
    std::array<SeparatorEntry, kMaxSeparatorEntries> SeparatorEntries{};
    PyxCommon::ApplicationData ApplicationData;

    // Reads the block as its header describes it; refuses a header whose counts and sizes reach past the
    // bytes before the application data, which is taken from the last two bytes given.
    static ExtendedConfiguration FromVector(const std::vector<std::uint8_t>& bytes);
    // The 128-byte block, unused bytes 0xFF. Refuses counts beyond the entries held and content that does
    // not fit before the application data.
    std::vector<std::uint8_t> ToVector() const;
    // Each record in use by its own rules: header, field entries, separator entries, application data.
    void Validate() const;
};

// Sent along with an extended configuration when it is written.
struct HashData
{
    std::array<std::uint8_t, 16> HashValue1{};
    std::array<std::uint8_t, 16> HashValue2{};
    std::uint8_t EnhanceSecurityFirmwareState = 0; // 0 or 1
};
#pragma pack(pop)

PYX_API bool IsAllZero(const std::array<std::uint8_t, 16>& value);

static_assert(sizeof(FieldSeparatorDataHeader) == 7);
static_assert(offsetof(FieldSeparatorDataHeader, Version) == 0);
static_assert(offsetof(FieldSeparatorDataHeader, HeaderSize) == 1);
static_assert(offsetof(FieldSeparatorDataHeader, FieldEntrySize) == 2);
static_assert(offsetof(FieldSeparatorDataHeader, FieldEntryCount) == 3);
static_assert(offsetof(FieldSeparatorDataHeader, SeparatorEntrySize) == 4);
static_assert(offsetof(FieldSeparatorDataHeader, SeparatorEntryCount) == 5);
static_assert(offsetof(FieldSeparatorDataHeader, MaxStorageSize) == 6);

static_assert(sizeof(FieldEntry) == 12);
static_assert(offsetof(FieldEntry, FieldValid) == 0);
static_assert(offsetof(FieldEntry, ConversionType) == 1);
static_assert(offsetof(FieldEntry, FixedFieldOutputLength) == 2);
static_assert(offsetof(FieldEntry, ReverseBits) == 3);
static_assert(offsetof(FieldEntry, ReverseBytes) == 4);
static_assert(offsetof(FieldEntry, FiveBMS) == 5);
static_assert(offsetof(FieldEntry, InvertBits) == 6);
static_assert(offsetof(FieldEntry, ReverseAllBytes) == 7);
static_assert(offsetof(FieldEntry, UseHash) == 8);
static_assert(offsetof(FieldEntry, ReservedFlag) == 9);
static_assert(offsetof(FieldEntry, StartingBitPosition) == 10);
static_assert(offsetof(FieldEntry, BitCountOfField) == 11);

static_assert(sizeof(SeparatorCharacter) == 2);
static_assert(offsetof(SeparatorCharacter, USBKeyScanCode) == 0);
static_assert(offsetof(SeparatorCharacter, SecondByte) == 1);

static_assert(sizeof(SeparatorEntry) == 66);
static_assert(offsetof(SeparatorEntry, SeparatorValid) == 0);
static_assert(offsetof(SeparatorEntry, CharacterSize) == 1);
static_assert(offsetof(SeparatorEntry, VirtualCharacterCount) == 2);
static_assert(offsetof(SeparatorEntry, ByteOffset) == 3);
static_assert(offsetof(SeparatorEntry, SeparatorCharacters) == 4);

static_assert(sizeof(ApplicationData) == 3);
static_assert(offsetof(ApplicationData, FieldDefinitionType) == 0);
static_assert(offsetof(ApplicationData, EnhanceSecurityFlag) == 1);
static_assert(offsetof(ApplicationData, MaxBitCount) == 2);

static_assert(sizeof(ExtendedConfiguration) == 2428);
static_assert(offsetof(ExtendedConfiguration, FieldSeparatorDataHeader) == 0);
static_assert(offsetof(ExtendedConfiguration, FieldEntries) == 7);
static_assert(offsetof(ExtendedConfiguration, SeparatorEntries) == 379);
static_assert(offsetof(ExtendedConfiguration, ApplicationData) == 2425);
static_assert(std::is_trivially_copyable_v<ExtendedConfiguration>);

static_assert(sizeof(HashData) == 33);
static_assert(offsetof(HashData, HashValue1) == 0);
static_assert(offsetof(HashData, HashValue2) == 16);
static_assert(offsetof(HashData, EnhanceSecurityFirmwareState) == 32);
static_assert(std::is_trivially_copyable_v<HashData>);
} // namespace PyxCommon
