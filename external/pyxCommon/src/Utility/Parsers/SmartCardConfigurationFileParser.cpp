#include "Utility/Parsers/SmartCardConfigurationFileParser.h"

#include <sstream>

#include <fmt/format.h>

#include "Exceptions/TessmarException.h"
#include "Utility/Parsers/ConfigurationFileSupport.h"
#include "Utility/StringUtils.h"

namespace PyxCommon
{
namespace
{
namespace Support = ConfigurationFileSupport;

constexpr std::string_view kBlob = "Blob";
constexpr std::string_view kEnd = "[EOF]";

constexpr Support::FileMessages kMessages{
    "File size is too large to be a valid ini file: ",
    "Failed to open SmartCard Ini file: ",
    "Failed to read SmartCard Ini file: ",
    "Failed to write SmartCard Ini file: ",
};

using Support::Contains;

std::uint32_t ParseHex(const std::string& text)
{
    return static_cast<std::uint32_t>(StringUtils::ParseInt(text, 16));
}
} // namespace

std::vector<SmartCardConfiguration>
SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile(const std::string& path)
{
    Support::CheckFileSize(path, kMessages.TooLarge, PYX_SOURCE_FILE);
    const std::string content = Support::LoadFile(path, kMessages, PYX_SOURCE_FILE, __func__);
    std::istringstream stream(content);
    if (!validateCrc(stream))
    {
        PYX_THROW(TessmarException, "SmartCard Ini file has been tampered: " + path);
    }
    // Lines after the CRC line are not guarded by it, so they are not read.
    std::istringstream guarded{std::string(Support::UpToCrcLine(content, kEnd))};
    std::vector<SmartCardConfiguration> configurations;
    std::string line;
    bool more = false;
    while ((more = static_cast<bool>(std::getline(guarded, line))) && Contains(line, kBlob))
    {
        configurations.push_back(readBlob(guarded));
    }
    // A blob after the line that ended the list would be lost without a word, so the list must not resume.
    while (more && !Contains(line, kEnd))
    {
        more = static_cast<bool>(std::getline(guarded, line));
        if (more && Contains(line, kBlob))
        {
            PYX_THROW(TessmarException,
                      "SmartCard Ini file has a blob after the end of its blob list: " + path);
        }
    }
    return configurations;
}

std::string SmartCardConfigurationFileParser::readCrcContent(std::istream& stream)
{
    std::string text;
    std::string line;
    while (std::getline(stream, line) && !Contains(line, kEnd))
    {
        text.append(line).append("\n");
    }
    return text;
}

bool SmartCardConfigurationFileParser::validateCrc(std::istream& stream)
{
    const std::string text = readCrcContent(stream);
    const std::string value = extractValue(stream, "iEndOfIniFile");
    return Support::CrcText(text) == value;
}

std::string SmartCardConfigurationFileParser::extractValue(std::istream& stream, const std::string& key)
{
    std::string line;
    if (!std::getline(stream, line))
    {
        PYX_THROW(TessmarException, fmt::format("Failed to read {} from Ini file", key));
    }
    const auto pieces = StringUtils::Split(line, "=");
    if (pieces.size() != 2 || pieces[0] != key)
    {
        PYX_THROW(TessmarException, fmt::format("Invalid line format in Ini file: {}", line));
    }
    return StringUtils::Trim(pieces[1]);
}

SmartCardConfiguration SmartCardConfigurationFileParser::readBlob(std::istream& stream)
{
    const BlobHeader header = parseBlobHeader(extractValue(stream, "hdr"));
    const std::vector<std::uint8_t> data = parseBlobData(extractValue(stream, "data"));
    SmartCardConfiguration configuration{};
    configuration.SetConfiguration(header, data);
    return configuration;
}

BlobHeader SmartCardConfigurationFileParser::parseBlobHeader(const std::string& value)
{
    const auto pieces = StringUtils::Split(value, " ");
    if (pieces.size() != 4)
    {
        PYX_THROW(TessmarException, fmt::format("Invalid Blob Header format: {}", value));
    }
    BlobHeader header;
    header.BlobType = static_cast<std::uint8_t>(ParseHex(pieces[0]));
    header.SecondByte = static_cast<std::uint8_t>(ParseHex(pieces[1]));
    header.DataLength = static_cast<std::uint16_t>(ParseHex(pieces[2]));
    header.FifthByte = static_cast<std::uint8_t>(ParseHex(pieces[3]));
    return header;
}

std::vector<std::uint8_t> SmartCardConfigurationFileParser::parseBlobData(const std::string& value)
{
    std::vector<std::uint8_t> data;
    for (const std::string& piece : StringUtils::Split(value, " "))
    {
        data.push_back(static_cast<std::uint8_t>(ParseHex(piece)));
    }
    return data;
}
} // namespace PyxCommon
