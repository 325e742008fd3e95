#include "Utility/Parsers/BleHwgFileParser.h"

#include <sstream>
#include <utility>

#include "Exceptions/TessmarException.h"
#include "Utility/Parsers/ConfigurationFileSupport.h"
#include "Utility/StringUtils.h"

namespace PyxCommon
{
namespace
{
namespace Support = ConfigurationFileSupport;

constexpr std::size_t kBytesPerLine = 8;

constexpr Support::HwgFormat kFormat{
    {
        "File size is too large to be a valid BLE HWG file: ",
        "Failed to open BLE HWG file: ",
        "Failed to read BLE HWG file: ",
        "Failed to write BLE HWG file: ",
    },
    "Failed to open BLE HWG file for writing: ",
    "Invalid BLE HWG file header: ",
    "BLE HWG file has been tampered: ",
    "=",
    "Failed to read CRC line from BLE HWG file",
    "Invalid CRC line format in BLE HWG file: ",
    ":Library Version: ",
    ":Device FW Version: ",
};

std::string SectionName(std::uint8_t dataSet)
{
    return "sFldBleData" + std::to_string(dataSet);
}

using Support::Contains;
} // namespace

void BleHwgFileParser::WriteBleConfigurationToBleHwgFile(const ReaderBleConfiguration& configuration,
                                                         const std::string& path, const HwgFileInfo& info,
                                                         bool withEndMarker)
{
    Support::CheckFileSize(path, kFormat.Messages.TooLarge, PYX_SOURCE_FILE);
    const std::uint8_t dataSet = configuration.GetBleDataType() == BleDataType::Data ? 1 : 2;
    const std::string section = SectionName(dataSet);
    std::string out = Support::HwgFileStart(kFormat, info.LibraryVersion, info.DeviceFirmwareVersion);
    out.append("\n/ Note: DO NOT change the name \"")
        .append(section)
        .append("\"!\n"
                "/ No Comment or Blank Lines between data bytes.\n"
                "/ ASCII hex data bytes must be seperated by a Period.\n"
                "\n");
    writeBleDataSection(out, dataSet, configuration.GetBleData());
    Support::StoreHwgFile(path, std::move(out), withEndMarker, kFormat, PYX_SOURCE_FILE, __func__);
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

ReaderBleConfiguration BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(const std::string& path)
{
    std::istringstream guarded{
        Support::LoadHwgFile(path, kFormat, readCrcContent, PYX_SOURCE_FILE, __func__)};
    const std::uint8_t dataType = detectBleDataType(guarded);
    Support::Rewind(guarded);
    const std::vector<std::uint8_t> data = extractBleData(guarded, dataType, path);
    ReaderBleConfiguration configuration{};
    configuration.SetBleDataType(dataType);
    configuration.SetBleData(data);
    return configuration;
}

std::string BleHwgFileParser::readCrcContent(std::istream& stream)
{
    std::string text = Support::RoomForTheRestOf(stream);
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

std::vector<std::uint8_t> BleHwgFileParser::extractBleData(std::istream& stream, std::uint8_t dataType,
                                                           const std::string& path)
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
    // One byte more than a data set holds is enough for SetBleData to refuse it, so reading stops there
    // however long the lines go on.
    std::vector<std::uint8_t> data;
    while (data.size() <= ReaderBleConfiguration::kMaxDataLength && std::getline(stream, line))
    {
        std::string_view trimmed = StringUtils::TrimView(line);
        if (Contains(trimmed, end))
        {
            break;
        }
        if (trimmed.empty() || trimmed.front() == '/')
        {
            continue;
        }
        // The writer ends every data line with a line feed, so a data line that the end of the file ends was
        // cut inside, and its last byte may have lost a digit.
        if (stream.eof())
        {
            PYX_THROW(TessmarException, "BLE HWG file ends inside a line: " + path);
        }
        while (!trimmed.empty() && data.size() <= ReaderBleConfiguration::kMaxDataLength)
        {
            const auto period = trimmed.find('.');
            const std::string_view digits = StringUtils::TrimView(trimmed.substr(0, period));
            if (!digits.empty())
            {
                data.push_back(static_cast<std::uint8_t>(StringUtils::ParseInt(digits, 16)));
            }
            trimmed = period == std::string_view::npos ? std::string_view{} : trimmed.substr(period + 1);
        }
    }
    return data;
}
} // namespace PyxCommon
