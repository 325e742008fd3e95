#include "Utility/Parsers/BleHwgFileParser.h"

#include <sstream>

#include "Exceptions/TessmarException.h"
#include "Utility/Parsers/ConfigurationFileSupport.h"
#include "Utility/StringUtils.h"

namespace PyxCommon
{
namespace
{
namespace Support = ConfigurationFileSupport;

constexpr std::size_t kBytesPerLine = 8;

constexpr Support::FileMessages kMessages{
    "File size is too large to be a valid BLE HWG file: ",
    "Failed to open BLE HWG file: ",
    "Failed to read BLE HWG file: ",
    "Failed to write BLE HWG file: ",
};

std::string SectionName(std::uint8_t dataSet)
{
    return "sFldBleData" + std::to_string(dataSet);
}

bool Contains(std::string_view line, std::string_view text)
{
    return line.find(text) != std::string_view::npos;
}

std::string CrcOf(std::string_view text)
{
    return StringUtils::ToHexString(
        StringUtils::Crc32Value(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 8);
}
} // namespace

void BleHwgFileParser::WriteBleConfigurationToBleHwgFile(const ReaderBleConfiguration& configuration,
                                                         const std::string& path, const HwgFileInfo& info,
                                                         bool withEndMarker)
{
    validateFileSize(path);
    const std::uint8_t dataSet = configuration.GetBleDataType() == BleDataType::Data ? 1 : 2;
    const std::string section = SectionName(dataSet);
    std::string out;
    out.append(Support::kHwgHeader).append("\n");
    out.append(":Library Version: ")
        .append(Support::WithoutControlCharacters(info.LibraryVersion))
        .append("\n");
    out.append(":Device FW Version: ")
        .append(Support::WithoutControlCharacters(info.DeviceFirmwareVersion))
        .append("\n\n");
    out.append("/ Note: DO NOT change the name \"")
        .append(section)
        .append("\"!\n"
                "/ No Comment or Blank Lines between data bytes.\n"
                "/ ASCII hex data bytes must be seperated by a Period.\n"
                "\n");
    writeBleDataSection(out, dataSet, configuration.GetBleData());
    if (withEndMarker)
    {
        out.append(Support::kHwgEndMarker).append("\n");
        writeCrcLine(out);
    }
    Support::StoreFile(path, out, "Failed to open BLE HWG file for writing: ", kMessages, PYX_SOURCE_FILE,
                       __func__);
}

void BleHwgFileParser::writeBleDataSection(std::string& out, std::uint8_t dataSet,
                                           const std::vector<std::uint8_t>& data)
{
    const std::string section = SectionName(dataSet);
    out.append("BEGIN ").append(section).append("\n\n");
    out.append("/ BleData").append(std::to_string(dataSet)).append("[] =\n");
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        out.append(StringUtils::ToHexString(data[i], 2));
        const bool lineEnds = (i + 1) % kBytesPerLine == 0 || i + 1 == data.size();
        out.append(lineEnds ? "\n" : ".");
    }
    out.append("\nEND ").append(section).append("\n");
}

void BleHwgFileParser::writeCrcLine(std::string& out)
{
    const std::string crc = CrcOf(out);
    out.append(Support::kHwgCrcKey).append("=").append(crc);
}

ReaderBleConfiguration BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(const std::string& path)
{
    validateFileSize(path);
    const std::string content = Support::LoadFile(path, kMessages, PYX_SOURCE_FILE, __func__);
    std::istringstream stream(content);
    if (!validateHeader(stream))
    {
        PYX_THROW(TessmarException, "Invalid BLE HWG file header: " + path);
    }
    if (Contains(content, Support::kHwgEndMarker) && !validateCrc(stream))
    {
        PYX_THROW(TessmarException, "BLE HWG file has been tampered: " + path);
    }
    // Lines after the CRC line are not guarded by it, so they are not read.
    std::istringstream guarded{std::string(Support::UpToCrcLine(content, Support::kHwgEndMarker))};
    const std::uint8_t dataType = detectBleDataType(guarded);
    Support::Rewind(guarded);
    const std::vector<std::uint8_t> data = extractBleData(guarded, dataType);
    ReaderBleConfiguration configuration{};
    configuration.SetBleDataType(dataType);
    configuration.SetBleData(data);
    return configuration;
}

void BleHwgFileParser::validateFileSize(const std::string& path)
{
    Support::CheckFileSize(path, kMessages.TooLarge, PYX_SOURCE_FILE);
}

bool BleHwgFileParser::validateHeader(std::istream& stream)
{
    return Support::HasHwgHeader(stream);
}

std::string BleHwgFileParser::readCrcContent(std::istream& stream)
{
    std::string text;
    std::string line;
    while (std::getline(stream, line))
    {
        text.append(line).append("\n");
        if (Contains(line, Support::kHwgEndMarker))
        {
            break;
        }
    }
    return text;
}

bool BleHwgFileParser::validateCrc(std::istream& stream)
{
    Support::Rewind(stream);
    const std::string text = readCrcContent(stream);
    return CrcOf(text) == extractCrcValueFromFile(stream);
}

std::string BleHwgFileParser::extractCrcValueFromFile(std::istream& stream)
{
    std::string line;
    if (!std::getline(stream, line))
    {
        PYX_THROW(TessmarException, "Failed to read CRC line from BLE HWG file");
    }
    const auto pieces = StringUtils::Split(line, "=");
    if (pieces.size() != 2)
    {
        PYX_THROW(TessmarException, "Invalid CRC line format in BLE HWG file: " + line);
    }
    return StringUtils::Trim(pieces[1]);
}

std::uint8_t BleHwgFileParser::detectBleDataType(std::istream& stream)
{
    std::string line;
    while (std::getline(stream, line))
    {
        if (Contains(line, "BEGIN sFldBleData1"))
        {
            return 1;
        }
        if (Contains(line, "BEGIN sFldBleData2"))
        {
            return 2;
        }
    }
    PYX_THROW(TessmarException, "Could not determine BLE data type from HWG file");
}

std::vector<std::uint8_t> BleHwgFileParser::extractBleData(std::istream& stream, std::uint8_t dataType)
{
    const std::string section = SectionName(dataType);
    const std::string begin = "BEGIN " + section;
    const std::string end = "END " + section;
    std::string line;
    bool found = false;
    while (!found && std::getline(stream, line))
    {
        found = Contains(line, begin);
    }
    if (!found)
    {
        PYX_THROW(TessmarException, "Could not find BLE data section BEGIN marker in HWG file");
    }
    std::vector<std::uint8_t> data;
    while (std::getline(stream, line))
    {
        const std::string trimmed = StringUtils::Trim(line);
        if (Contains(trimmed, end))
        {
            break;
        }
        if (trimmed.empty() || trimmed.front() == '/')
        {
            continue;
        }
        for (const std::string& piece : StringUtils::Split(trimmed, "."))
        {
            const std::string digits = StringUtils::Trim(piece);
            if (!digits.empty())
            {
                data.push_back(static_cast<std::uint8_t>(StringUtils::ParseInt(digits, 16)));
            }
        }
    }
    return data;
}
} // namespace PyxCommon
