#include <string>

#include "Exceptions/TessmarException.h"
#include "Structures/ExtendedConfiguration.h"

// The byte forms of the parts of an extended configuration. Bits are numbered 7 (most significant) to 0.
namespace PyxCommon
{
namespace
{
constexpr std::uint8_t kMaxEntryCount = 31;
constexpr std::uint8_t kMaxCharacterCount = 31;
constexpr std::uint8_t kMaxUsbKeyScanCode = 231;
constexpr std::uint8_t kConversionTypeCount = 4;
constexpr std::uint8_t kFieldDefinitionTypeCount = 6;

// `value` cut to `width` bits and moved up to `shift`.
constexpr std::uint8_t Pack(std::uint8_t value, unsigned width, unsigned shift)
{
    return static_cast<std::uint8_t>((value & ((1U << width) - 1U)) << shift);
}

constexpr std::uint8_t Unpack(std::uint8_t byte, unsigned width, unsigned shift)
{
    return static_cast<std::uint8_t>((byte >> shift) & ((1U << width) - 1U));
}

void CheckFlag(const char* name, std::uint8_t value)
{
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>(name, value, 0, 1);
}
} // namespace

FieldSeparatorDataHeader FieldSeparatorDataHeader::FromVector(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < kByteSize)
    {
        PYX_THROW(TessmarException, "FieldSeparatorDataHeader::FromVector requires at least 4 bytes");
    }
    FieldSeparatorDataHeader header;
    header.Version = Unpack(bytes[0], 4, 4);
    header.HeaderSize = Unpack(bytes[0], 4, 0);
    header.FieldEntrySize = static_cast<std::uint8_t>(Unpack(bytes[1], 3, 5) * 2);
    header.FieldEntryCount = Unpack(bytes[1], 5, 0);
    header.SeparatorEntrySize = static_cast<std::uint8_t>(Unpack(bytes[2], 3, 5) * 2);
    header.SeparatorEntryCount = Unpack(bytes[2], 5, 0);
    header.MaxStorageSize = bytes[3];
    return header;
}

std::vector<std::uint8_t> FieldSeparatorDataHeader::ToVector() const
{
    return {
        static_cast<std::uint8_t>(Pack(Version, 4, 4) | Pack(HeaderSize, 4, 0)),
        static_cast<std::uint8_t>(Pack(FieldEntrySize / 2, 3, 5) | Pack(FieldEntryCount, 5, 0)),
        static_cast<std::uint8_t>(Pack(SeparatorEntrySize / 2, 3, 5) | Pack(SeparatorEntryCount, 5, 0)),
        MaxStorageSize,
    };
}

void FieldSeparatorDataHeader::Validate() const
{
    if (Version == 0)
    {
        PYX_THROW(TessmarException, "FieldSeparator Structure Version value must be greater than 0");
    }
    if (HeaderSize != 4)
    {
        PYX_THROW(TessmarException, "Header size value must be equal to 4");
    }
    if (FieldEntrySize != 4)
    {
        PYX_THROW(TessmarException, "Field entry size value must be equal to 4");
    }
    if (SeparatorEntrySize != 2)
    {
        PYX_THROW(TessmarException, "Separator entry size value must be equal to 2");
    }
    if (MaxStorageSize != 16)
    {
        PYX_THROW(TessmarException, "Max storage size value must be equal to 16");
    }
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("FieldSeparatorDataHeader::FieldEntryCount",
                                                      FieldEntryCount, 0, kMaxEntryCount);
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("FieldSeparatorDataHeader::SeparatorEntryCount",
                                                      SeparatorEntryCount, 0, kMaxEntryCount);
}

FieldEntry FieldEntry::FromVector(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < kByteSize)
    {
        PYX_THROW(TessmarException, "FieldEntry::FromVector requires at least 4 bytes");
    }
    FieldEntry entry;
    entry.FieldValid = Unpack(bytes[0], 1, 7);
    entry.ConversionType = Unpack(bytes[0], 2, 5);
    entry.FixedFieldOutputLength = Unpack(bytes[0], 5, 0);
    entry.ReverseBits = Unpack(bytes[1], 1, 7);
    entry.ReverseBytes = Unpack(bytes[1], 1, 6);
    entry.FiveBMS = Unpack(bytes[1], 1, 5);
    entry.InvertBits = Unpack(bytes[1], 1, 4);
    entry.ReverseAllBytes = Unpack(bytes[1], 1, 3);
    entry.UseHash = Unpack(bytes[1], 1, 1);
    entry.ReservedFlag = Unpack(bytes[1], 1, 0);
    entry.StartingBitPosition = bytes[2];
    entry.BitCountOfField = bytes[3];
    return entry;
}

std::vector<std::uint8_t> FieldEntry::ToVector() const
{
    return {
        static_cast<std::uint8_t>(Pack(FieldValid, 1, 7) | Pack(ConversionType, 2, 5) |
                                  Pack(FixedFieldOutputLength, 5, 0)),
        static_cast<std::uint8_t>(Pack(ReverseBits, 1, 7) | Pack(ReverseBytes, 1, 6) | Pack(FiveBMS, 1, 5) |
                                  Pack(InvertBits, 1, 4) | Pack(ReverseAllBytes, 1, 3) | Pack(UseHash, 1, 1) |
                                  Pack(ReservedFlag, 1, 0)),
        StartingBitPosition,
        BitCountOfField,
    };
}

void FieldEntry::Validate() const
{
    CheckFlag("FieldEntry::FieldValid", FieldValid);
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("FieldEntry::FixedFieldOutputLength",
                                                      FixedFieldOutputLength, 0, 31);
    CheckFlag("FieldEntry::ReverseBits", ReverseBits);
    CheckFlag("FieldEntry::ReverseBytes", ReverseBytes);
    CheckFlag("FieldEntry::FiveBMS", FiveBMS);
    CheckFlag("FieldEntry::InvertBits", InvertBits);
    CheckFlag("FieldEntry::ReverseAllBytes", ReverseAllBytes);
    CheckFlag("FieldEntry::UseHash", UseHash);
    if (ConversionType >= kConversionTypeCount)
    {
        PYX_THROW(TessmarException, "Invalid Conversion Type value was "
                                    "specified");
    }
}

SeparatorCharacter SeparatorCharacter::FromVector(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty())
    {
        PYX_THROW(TessmarException, "SeparatorCharacter::FromVector requires at least 1 byte");
    }
    SeparatorCharacter character;
    character.USBKeyScanCode = bytes[0];
    if (bytes.size() >= 2)
    {
        character.SecondByte = bytes[1];
    }
    return character;
}

std::vector<std::uint8_t> SeparatorCharacter::ToVector(std::uint8_t characterSize) const
{
    if (characterSize == 1)
    {
        return {USBKeyScanCode};
    }
    return {USBKeyScanCode, SecondByte};
}

void SeparatorCharacter::Validate() const
{
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("SeparatorCharacter::USBKeyScanCode", USBKeyScanCode, 0,
                                                      kMaxUsbKeyScanCode);
}

SeparatorEntry SeparatorEntry::FromVector(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < kByteSize)
    {
        PYX_THROW(TessmarException, "SeparatorEntry::FromVector requires at least 2 bytes");
    }
    SeparatorEntry entry;
    entry.SeparatorValid = Unpack(bytes[0], 1, 7);
    entry.CharacterSize = Unpack(bytes[0], 1, 6) != 0 ? 2 : 1;
    entry.VirtualCharacterCount = Unpack(bytes[0], 5, 0);
    entry.ByteOffset = bytes[1];
    return entry;
}

std::vector<std::uint8_t> SeparatorEntry::ToVector() const
{
    // Set for anything but one-byte characters, so the bit always agrees with how the characters are written.
    const std::uint8_t twoByteCharacters = CharacterSize != 1 ? 1 : 0;
    return {
        static_cast<std::uint8_t>(Pack(SeparatorValid, 1, 7) | Pack(twoByteCharacters, 1, 6) |
                                  Pack(VirtualCharacterCount, 5, 0)),
        ByteOffset,
    };
}

void SeparatorEntry::Validate() const
{
    CheckFlag("SeparatorEntry::SeparatorValid", SeparatorValid);
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("SeparatorEntry::CharacterSize", CharacterSize, 1, 2);
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("SeparatorEntry::VirtualCharacterCount",
                                                      VirtualCharacterCount, 0, kMaxCharacterCount);
    for (std::size_t i = 0; i < VirtualCharacterCount; ++i)
    {
        SeparatorCharacters[i].Validate();
    }
}

ApplicationData ApplicationData::FromVector(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < kByteSize)
    {
        PYX_THROW(TessmarException, "ApplicationData::FromVector requires at least 2 bytes");
    }
    ApplicationData data;
    data.EnhanceSecurityFlag = Unpack(bytes[0], 1, 7);
    data.FieldDefinitionType = Unpack(bytes[0], 3, 0);
    data.MaxBitCount = bytes[1];
    return data;
}

std::vector<std::uint8_t> ApplicationData::ToVector() const
{
    return {
        static_cast<std::uint8_t>(Pack(EnhanceSecurityFlag, 1, 7) | Pack(FieldDefinitionType, 3, 0)),
        MaxBitCount,
    };
}

void ApplicationData::Validate() const
{
    if (FieldDefinitionType >= kFieldDefinitionTypeCount)
    {
        PYX_THROW(TessmarException, "Invalid Field Definition Type value was "
                                    "specified");
    }
    CheckFlag("ApplicationData::EnhanceSecurityFlag", EnhanceSecurityFlag);
}
} // namespace PyxCommon
