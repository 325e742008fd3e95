#include "Structures/ExtendedConfiguration.h"

#include <algorithm>

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"

// The 128-byte block: the header, the field entries in use, the separator entries in use, the characters of
// each separator entry in turn, 0xFF up to the application data in the last two bytes.
namespace PyxCommon
{
namespace
{
constexpr std::uint8_t kUnusedByte = 0xFF;

// Reads consecutive pieces of the content area; a piece that would reach past it is refused, whatever the
// header claims, so no count or size from the block is trusted as a length.
class ContentReader
{
public:
    ContentReader(const std::vector<std::uint8_t>& bytes, std::size_t end) : bytes_(bytes), end_(end) {}

    std::vector<std::uint8_t> Next(std::size_t size, const char* what)
    {
        if (size > end_ - position_)
        {
            throw TessmarException(
                fmt::format("ExtendedConfiguration::FromVector: the header describes more {} "
                            "than fit before the application data",
                            what),
                PYX_SOURCE_FILE, __LINE__, "FromVector");
        }
        const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(position_);
        position_ += size;
        return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(size));
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t end_;
    std::size_t position_ = FieldSeparatorDataHeader::kByteSize;
};

void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& piece)
{
    out.insert(out.end(), piece.begin(), piece.end());
}
} // namespace

ExtendedConfiguration ExtendedConfiguration::FromVector(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < kByteSize)
    {
        PYX_THROW(TessmarException,
                  fmt::format("ExtendedConfiguration::FromVector requires at least {} bytes", kByteSize));
    }
    ExtendedConfiguration configuration;
    auto& header = configuration.FieldSeparatorDataHeader;
    header = PyxCommon::FieldSeparatorDataHeader::FromVector(bytes);
    // The counts are five-bit fields, so they never exceed the entries held.
    ContentReader content(bytes, kApplicationDataOffset);
    for (std::size_t i = 0; i < header.FieldEntryCount; ++i)
    {
        configuration.FieldEntries[i] =
            FieldEntry::FromVector(content.Next(header.FieldEntrySize, "field entries"));
    }
    for (std::size_t i = 0; i < header.SeparatorEntryCount; ++i)
    {
        configuration.SeparatorEntries[i] =
            SeparatorEntry::FromVector(content.Next(header.SeparatorEntrySize, "separator entries"));
    }
    for (std::size_t i = 0; i < header.SeparatorEntryCount; ++i)
    {
        SeparatorEntry& entry = configuration.SeparatorEntries[i];
        for (std::size_t c = 0; c < entry.VirtualCharacterCount; ++c)
        {
            entry.SeparatorCharacters[c] =
                SeparatorCharacter::FromVector(content.Next(entry.CharacterSize, "separator characters"));
        }
    }
    configuration.ApplicationData = PyxCommon::ApplicationData::FromVector(
        std::vector<std::uint8_t>(bytes.end() - PyxCommon::ApplicationData::kByteSize, bytes.end()));
    return configuration;
}

std::vector<std::uint8_t> ExtendedConfiguration::ToVector() const
{
    const auto& header = FieldSeparatorDataHeader;
    // Counts beyond the entries held would index past them; refused with the same text Validate gives.
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("FieldSeparatorDataHeader::FieldEntryCount",
                                                      header.FieldEntryCount, 0, kMaxFieldEntries);
    ThrowExceptionForPropertyOutOfRange<std::uint8_t>("FieldSeparatorDataHeader::SeparatorEntryCount",
                                                      header.SeparatorEntryCount, 0, kMaxSeparatorEntries);

    std::vector<std::uint8_t> out;
    out.reserve(kByteSize);
    Append(out, header.ToVector());
    for (std::size_t i = 0; i < header.FieldEntryCount; ++i)
    {
        Append(out, FieldEntries[i].ToVector());
    }
    for (std::size_t i = 0; i < header.SeparatorEntryCount; ++i)
    {
        Append(out, SeparatorEntries[i].ToVector());
    }
    for (std::size_t i = 0; i < header.SeparatorEntryCount; ++i)
    {
        const SeparatorEntry& entry = SeparatorEntries[i];
        ThrowExceptionForPropertyOutOfRange<std::uint8_t>("SeparatorEntry::VirtualCharacterCount",
                                                          entry.VirtualCharacterCount, 0,
                                                          SeparatorEntry::kMaxCharacters);
        for (std::size_t c = 0; c < entry.VirtualCharacterCount; ++c)
        {
            Append(out, entry.SeparatorCharacters[c].ToVector(entry.CharacterSize));
        }
    }
    // At most 4 + 31 x 4 + 31 x 2 + 31 x 31 x 2 bytes were gathered, so the size is known before it is cut.
    if (out.size() > kApplicationDataOffset)
    {
        PYX_THROW(TessmarException,
                  fmt::format("ExtendedConfiguration::ToVector: the entries and characters need {} "
                              "bytes, but only {} fit before the application data",
                              out.size(), kApplicationDataOffset));
    }
    out.resize(kApplicationDataOffset, kUnusedByte);
    Append(out, ApplicationData.ToVector());
    return out;
}

void ExtendedConfiguration::Validate() const
{
    FieldSeparatorDataHeader.Validate();
    // The header check bounds both counts by the entries held.
    for (std::size_t i = 0; i < FieldSeparatorDataHeader.FieldEntryCount; ++i)
    {
        FieldEntries[i].Validate();
    }
    for (std::size_t i = 0; i < FieldSeparatorDataHeader.SeparatorEntryCount; ++i)
    {
        SeparatorEntries[i].Validate();
    }
    ApplicationData.Validate();
}

bool IsAllZero(const std::array<std::uint8_t, 16>& value)
{
    return std::all_of(value.begin(), value.end(), [](std::uint8_t byte) { return byte == 0; });
}
} // namespace PyxCommon
