#include "Utility/Parsers/HwgFileParser.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"
#include "Utility/Parsers/ConfigurationFileSupport.h"
#include "Utility/Parsers/HwgPropertyMapping.h"
#include "Utility/StringUtils.h"

namespace PyxCommon
{
namespace
{
namespace Support = ConfigurationFileSupport;

constexpr std::string_view kNextConfig = "##NEXTCONFIG##";
constexpr std::string_view kSectionBegin = "BEGIN sFldSepData";
constexpr std::string_view kSectionEnd = "END sFldSepData";
constexpr std::size_t kExtendedBytes = ExtendedConfiguration::kByteSize;
constexpr std::size_t kHeaderBytes = FieldSeparatorDataHeader::kByteSize;
constexpr std::size_t kFieldEntryBytes = FieldEntry::kByteSize;
constexpr std::size_t kSeparatorEntryBytes = SeparatorEntry::kByteSize;
constexpr std::size_t kSepDataBytesPerLine = 8;
// A reader counts its configurations in one byte, so a file with more cannot be written to any reader; every
// configuration read costs memory, so reading stops there, and the writer makes no file its reader refuses.
constexpr std::size_t kMaxConfigurations = 255;

constexpr Support::HwgFormat kFormat{
    {
        "File size is too large to be a valid HWG file: ",
        "Failed to open HWG file: ",
        "Failed to read HWG file: ",
        "Failed to write HWG file: ",
    },
    "Failed to open HWG file for writing: ",
    "Invalid HWG file header: ",
    "HWG file has been tampered: ",
    " = ",
    "Failed to read CRC line from HWG file",
    "Invalid CRC line format in HWG file: ",
    "LibraryVersion = ",
    "DeviceFirmwareVersion = ",
};

using Support::Contains;

// The public step that reads an extended section; its failures carry its name wherever they are raised.
constexpr const char* kExtractExtended = "ExtractExtendedConfiguration";

// Every line the writer writes ends with a line feed but the CRC line, which no value is read from. A line
// that std::getline ended at the end of the text instead, and that carries a value, is therefore the rest of
// a file that was cut inside it: its value may have lost digits, so the file is refused.
[[noreturn]] void ThrowEndsInsideLine(const std::string& path, int line, const char* function)
{
    throw TessmarException("HWG file ends inside a line: " + path, PYX_SOURCE_FILE, line, function);
}

// Bytes as two upper-case digits each, joined by periods.
std::string DataLine(const std::vector<std::uint8_t>& bytes, std::size_t first, std::size_t count)
{
    std::string line;
    for (std::size_t i = first; i < first + count; ++i)
    {
        if (i != first)
        {
            line += '.';
        }
        line += StringUtils::ToHexString(bytes[i], 2);
    }
    return line;
}

// A property line: its name, value and description, with the separators of its block.
void AppendProperty(std::string& out, const HwgProperty& property, const ReaderConfiguration& configuration,
                    std::string_view afterName, std::string_view beforeDescription)
{
    out.append(property.Name)
        .append(afterName)
        .append(property.Getter(configuration))
        .append(beforeDescription)
        .append(property.Description)
        .append("\n");
}

// A data line's bytes may be separated by a comma or a period, by blanks and tabs, or by a comma or a
// period with blanks and tabs around it. A separator at the end of a line adds nothing; two commas or
// periods in a row leave an empty piece, which ParseInt refuses. The line is walked in place: it may be as
// long as the file, and its pieces are never gathered.
void AppendDataBytes(std::string_view line, std::size_t& count, std::vector<std::uint8_t>& bytes)
{
    const auto append = [&](std::string_view digits)
    {
        const int value = StringUtils::ParseInt(digits, 16);
        // Only the block's own bytes are kept; the rest are counted for the message.
        if (++count <= kExtendedBytes)
        {
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
    };
    while (!line.empty())
    {
        const auto separator = line.find_first_of(",.");
        const std::string_view piece = StringUtils::TrimView(line.substr(0, separator));
        if (piece.empty())
        {
            append(piece); // an empty piece stays one, so that it is refused
        }
        for (std::string_view rest = piece; !rest.empty();)
        {
            const auto blank = rest.find_first_of(" \t");
            append(rest.substr(0, blank));
            rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank);
            rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(" \t")));
        }
        line = separator == std::string_view::npos ? std::string_view{} : line.substr(separator + 1);
    }
}
} // namespace

void HwgFileParser::WriteConfigurationToHwgFile(
    const std::vector<ReaderConfiguration>& configurations,
    const std::vector<ExtendedConfiguration>& extendedConfigurations, const std::string& path,
    const HwgFileInfo& info)
{
    if (configurations.size() != extendedConfigurations.size())
    {
        PYX_THROW(TessmarException,
                  "The number of configurations and extended configurations must be the same.");
    }
    if (configurations.size() > kMaxConfigurations)
    {
        PYX_THROW(TessmarException, fmt::format("Cannot write more than {} configurations to an HWG file: {}",
                                                kMaxConfigurations, path));
    }
    // The whole text is built first, so nothing reaches the disk unless all of it could be made.
    std::string out = Support::HwgFileStart(kFormat, info.LibraryVersion, info.DeviceFirmwareVersion);
    for (std::size_t i = 0; i < configurations.size(); ++i)
    {
        out.append("\n");
        writePropertyBlocks(out, configurations[i]);
        writeExtendedConfiguration(out, extendedConfigurations[i]);
        // A single configuration carries no card type and priority, and no separator.
        if (configurations.size() != 1)
        {
            writeUnnamedBlock(out, configurations[i]);
            out.append(kNextConfig).append("\n");
        }
    }
    Support::StoreHwgFile(path, std::move(out), info.WithEndMarker, kFormat, PYX_SOURCE_FILE, __func__);
}

void HwgFileParser::writePropertyBlocks(std::string& out, const ReaderConfiguration& configuration)
{
    for (const HwgPropertyBlock& block : HwgPropertyMapping::PropertyBlocks)
    {
        if (block.Name.empty())
        {
            continue;
        }
        out.append("/ ").append(block.Name).append("\n");
        for (const HwgProperty& property : block.Properties)
        {
            AppendProperty(out, property, configuration, " = ", "     / ");
        }
        out.append("\n");
    }
}

void HwgFileParser::writeExtendedConfiguration(std::string& out, const ExtendedConfiguration& configuration)
{
    // The layout follows the header's counts; counts whose entries cannot fit in the block are refused
    // before anything is laid out, so no line reaches past its 128 bytes.
    const std::size_t fields = configuration.FieldSeparatorDataHeader.FieldEntryCount;
    const std::size_t separators = configuration.FieldSeparatorDataHeader.SeparatorEntryCount;
    const std::size_t sepData = kHeaderBytes + fields * kFieldEntryBytes + separators * kSeparatorEntryBytes;
    if (sepData > kExtendedBytes)
    {
        PYX_THROW(TessmarException,
                  fmt::format("Extended configuration does not fit in {} bytes: {} field entries and {} "
                              "separator entries",
                              kExtendedBytes, fields, separators));
    }
    const std::vector<std::uint8_t> bytes = configuration.ToVector();
    if (bytes.size() != kExtendedBytes)
    {
        PYX_THROW(TessmarException,
                  fmt::format("Extended configuration is not {} bytes long", kExtendedBytes));
    }
    out.append("/ Note: DO NOT change the name \"sFldSepData\"!\n"
               "/ Comment and Blank Lines between data bytes are optional.\n"
               "/ ASCII Hex data bytes may be separated by Comma, Period, Space or Tab.\n"
               "\n")
        .append(kSectionBegin)
        .append("\n\n");
    out.append("/ FldSepHdr[2] = \n").append(DataLine(bytes, 0, kHeaderBytes)).append("\n");
    out.append("\n/ FldDefs[][4] = \n");
    std::size_t at = kHeaderBytes;
    for (std::size_t i = 0; i < fields; ++i, at += kFieldEntryBytes)
    {
        out.append(DataLine(bytes, at, kFieldEntryBytes)).append("\n");
    }
    out.append("\n/ SepDefs[][2] = \n");
    for (std::size_t i = 0; i < separators; ++i, at += kSeparatorEntryBytes)
    {
        out.append(DataLine(bytes, at, kSeparatorEntryBytes)).append("\n");
    }
    out.append("\n/ SepData[] = \n");
    while (at < kExtendedBytes)
    {
        const std::size_t count = std::min(kSepDataBytesPerLine, kExtendedBytes - at);
        out.append(DataLine(bytes, at, count));
        at += count;
        out.append(at == kExtendedBytes ? ".\n" : "\n");
    }
    out.append("\n").append(kSectionEnd).append("\n");
}

void HwgFileParser::writeUnnamedBlock(std::string& out, const ReaderConfiguration& configuration)
{
    const auto untitled =
        std::find_if(HwgPropertyMapping::PropertyBlocks.begin(), HwgPropertyMapping::PropertyBlocks.end(),
                     [](const HwgPropertyBlock& block) { return block.Name.empty(); });
    for (const HwgProperty& property : untitled->Properties)
    {
        AppendProperty(out, property, configuration, ": ", " / ");
    }
}

std::vector<HwgConfigurationEntry> HwgFileParser::ReadConfigurationFromHwgFile(const std::string& path)
{
    std::istringstream guarded{
        Support::LoadHwgFile(path, kFormat, readCrcContent, PYX_SOURCE_FILE, __func__)};
    // The writer closes every configuration of a file that holds the separator with the card type and
    // priority, so in such a file a configuration without them was cut short, not written that way.
    const bool closedByCardType = Contains(guarded.view(), kNextConfig);
    std::vector<HwgConfigurationEntry> entries;
    while (hasNextConfiguration(guarded))
    {
        if (entries.size() == kMaxConfigurations)
        {
            PYX_THROW(TessmarException, fmt::format("HWG file holds more than {} configurations: {}",
                                                    kMaxConfigurations, path));
        }
        entries.push_back(extractNextConfiguration(guarded, closedByCardType, path));
    }
    return entries;
}

std::string HwgFileParser::readCrcContent(std::istream& stream)
{
    std::string text = Support::RoomForTheRestOf(stream);
    std::string line;
    const std::string markerAndBlank = std::string(Support::kHwgEndMarker) + " ";
    while (std::getline(stream, line))
    {
        if (!Contains(line, Support::kHwgEndMarker))
        {
            text.append(line).append("\n");
            continue;
        }
        if (!Contains(line, markerAndBlank))
        {
            text.append(line).append("\n");
        }
        break;
    }
    return text;
}

bool HwgFileParser::hasNextConfiguration(std::istream& stream)
{
    std::string line;
    if (!std::getline(stream, line))
    {
        return false;
    }
    if (Contains(line, Support::kHwgHeader))
    {
        return true;
    }
    if (!Contains(line, kNextConfig))
    {
        return false;
    }
    // The empty line that opens the next configuration, or the end marker after the last one.
    return std::getline(stream, line) && !Contains(line, Support::kHwgEndMarker);
}

HwgConfigurationEntry HwgFileParser::extractNextConfiguration(std::istream& stream, bool closedByCardType,
                                                              const std::string& path)
{
    HwgConfigurationEntry entry{};
    std::string line;
    for (const HwgPropertyBlock& block : HwgPropertyMapping::PropertyBlocks)
    {
        for (const HwgProperty& property : block.Properties)
        {
            while (true)
            {
                if (!std::getline(stream, line))
                {
                    if (block.Name.empty() && !closedByCardType)
                    {
                        break; // the card type and priority are absent from single-configuration files
                    }
                    PYX_THROW(TessmarException,
                              fmt::format("Missing property {} in HWG file", property.Name));
                }
                if (Contains(line, kNextConfig))
                {
                    PYX_THROW(TessmarException,
                              fmt::format("Missing property {} in HWG file", property.Name));
                }
                // The property's line, or the start of its name, cut by the end of the file: a cut name would
                // otherwise pass as a line to skip, and where the property may be absent (the card type and
                // priority) its default would be read instead of the value written.
                const bool ownLine = StringUtils::StartsWith(line, property.Name);
                if (stream.eof() && (ownLine || StringUtils::StartsWith(property.Name, line)))
                {
                    ThrowEndsInsideLine(path, __LINE__, __func__);
                }
                if (ownLine)
                {
                    property.Setter(entry.ReaderConfiguration, extractPropertyValue(line));
                    break;
                }
                if (StringUtils::StartsWith(line, kSectionBegin))
                {
                    entry.ExtendedConfiguration = extractExtendedConfiguration(stream, &path);
                }
            }
        }
    }
    return entry;
}

std::string HwgFileParser::extractPropertyValue(const std::string& line)
{
    std::string_view part = line;
    part = part.substr(0, part.find("/ "));
    const auto at = part.find_first_of("=:\t");
    if (at == std::string_view::npos)
    {
        PYX_THROW(TessmarException, "Invalid property line format in HWG file: " + line);
    }
    return StringUtils::Trim(part.substr(at + 1));
}

ExtendedConfiguration HwgFileParser::ExtractExtendedConfiguration(std::istream& stream)
{
    return extractExtendedConfiguration(stream, nullptr);
}

ExtendedConfiguration HwgFileParser::extractExtendedConfiguration(std::istream& stream,
                                                                  const std::string* path)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kExtendedBytes);
    std::size_t count = 0;
    std::string line;
    while (std::getline(stream, line) && !StringUtils::StartsWith(line, kSectionEnd))
    {
        const std::string_view trimmed = StringUtils::TrimView(line);
        if (trimmed.empty() || StringUtils::StartsWith(trimmed, "/ "))
        {
            continue;
        }
        if (path != nullptr && stream.eof())
        {
            ThrowEndsInsideLine(*path, __LINE__, kExtractExtended);
        }
        AppendDataBytes(trimmed, count, bytes);
    }
    if (count != kExtendedBytes)
    {
        throw TessmarException(
            fmt::format(
                "Invalid extended configuration data size in HWG file: expected {} bytes, got {} bytes",
                kExtendedBytes, count),
            PYX_SOURCE_FILE, __LINE__, kExtractExtended);
    }
    return ExtendedConfiguration::FromVector(bytes);
}
} // namespace PyxCommon
