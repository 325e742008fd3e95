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
// A reader numbers its blobs by their one-byte blob type, so it holds no more than 256 of them; a file
// that lists more cannot be one reader's configuration, and every blob read costs a kilobyte.
constexpr std::size_t kMaxBlobs = 256;

constexpr Support::FileMessages kMessages{
    "File size is too large to be a valid ini file: ",
    "Failed to open SmartCard Ini file: ",
    "Failed to read SmartCard Ini file: ",
    "Failed to write SmartCard Ini file: ",
};

using Support::Contains;

std::uint32_t ParseHex(std::string_view text)
{
    return static_cast<std::uint32_t>(StringUtils::ParseInt(text, 16));
}
} // namespace

std::vector<SmartCardConfiguration>
SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile(const std::string& path)
{
    Support::CheckFileSize(path, kMessages.TooLarge, PYX_SOURCE_FILE);
    std::istringstream stream(Support::LoadFile(path, kMessages, PYX_SOURCE_FILE, __func__));
    if (!validateCrc(stream))
    {
        PYX_THROW(TessmarException, "SmartCard Ini file has been tampered: " + path);
    }
    // Lines after the CRC line are not guarded by it, so they are not read. The text moves from stream to
    // stream and is cut in place, so a file near the size limit is never held twice.
    std::string content = std::move(stream).str();
    content.resize(Support::UpToCrcLine(content, kEnd).size());
    std::istringstream guarded(std::move(content));
    std::vector<SmartCardConfiguration> configurations;
    std::string line;
    bool more = false;
    while ((more = static_cast<bool>(std::getline(guarded, line))) && Contains(line, kBlob))
    {
        if (configurations.size() == kMaxBlobs)
        {
            PYX_THROW(TessmarException,
                      fmt::format("SmartCard Ini file holds more than {} blobs: {}", kMaxBlobs, path));
        }
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
    std::string text = Support::RoomForTheRestOf(stream);
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
    const auto pieces = StringUtils::SplitViews(line, "=", 3);
    if (pieces.size() != 2 || pieces[0] != key)
    {
        PYX_THROW(TessmarException, fmt::format("Invalid line format in Ini file: {}", line));
    }
    return std::string(StringUtils::TrimView(pieces[1]));
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
    const auto pieces = StringUtils::SplitViews(value, " ", 5);
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
    // One byte more than a blob holds is enough for SetConfiguration to refuse the blob, so the rest of
    // the line is not split.
    std::vector<std::uint8_t> data;
    for (const std::string_view piece :
         StringUtils::SplitViews(value, " ", SmartCardConfiguration::kMaxDataLength + 1))
    {
        data.push_back(static_cast<std::uint8_t>(ParseHex(piece)));
    }
    return data;
}
} // namespace PyxCommon
