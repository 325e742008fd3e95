#include "Utility/Parsers/ConfigurationFileSupport.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "Exceptions/TessmarException.h"
#include "Utility/Parsers/FileAccess.h"
#include "Utility/StringUtils.h"

namespace PyxCommon::ConfigurationFileSupport
{
namespace
{
constexpr std::string_view kNotRegularFile = "Not a regular file: ";

// Texts that the readers of the two .hwg formats take for structure wherever they stand in a line: the
// configuration separator, the end marker and CRC key, and the section lines. A version text that holds one
// would end a configuration, start a CRC check or open a data section where the writer meant none.
constexpr std::string_view kStructureTexts[] = {"##NEXTCONFIG##", "iEndOfHwgFile", "BEGIN sFld", "END sFld"};
// Put after the first character of each such text in a version, so the version stays readable and breaks
// nothing. It occurs in none of them, so putting it in cannot make a new one.
constexpr char kBreak = '_';
static_assert(std::none_of(std::begin(kStructureTexts), std::end(kStructureTexts),
                           [](std::string_view text)
                           { return text.find(kBreak) != std::string_view::npos; }));

// A version text as the version lines carry it: on one line, and never mistaken for structure.
std::string VersionText(std::string_view text)
{
    std::string version = WithoutControlCharacters(text);
    for (const std::string_view structure : kStructureTexts)
    {
        for (auto at = version.find(structure); at != std::string::npos; at = version.find(structure, at + 1))
        {
            version.insert(at + 1, 1, kBreak);
        }
    }
    return version;
}

[[noreturn]] void Fail(std::string_view prefix, const std::string& path, const char* sourceFile, int line,
                       const char* function, int error = 0)
{
    std::string message = std::string(prefix) + path;
    if (error != 0)
    {
        message += " (" + FileAccess::ErrorText(error) + ")";
    }
    throw TessmarException(message, sourceFile, line, function);
}
} // namespace

void CheckFileSize(const std::string& path, std::string_view tooLarge, const char* sourceFile)
{
    // Only a regular file has a size to check; anything else is refused when it is opened, as the reader or
    // the writer that opens it reports it.
    if (!std::filesystem::is_regular_file(std::filesystem::status(path)))
    {
        return;
    }
    if (std::filesystem::file_size(path) > kMaxFileSize)
    {
        Fail(tooLarge, path, sourceFile, __LINE__, "validateFileSize");
    }
}

std::string LoadFile(const std::string& path, const FileMessages& messages, const char* sourceFile,
                     const char* function)
{
    // The file may have changed since its size was checked, so the read is bounded and checked again.
    auto result = FileAccess::ReadRegularFile(path, kMaxFileSize);
    switch (result.Status)
    {
    case FileAccess::ReadStatus::Read:
        return std::move(result.Content);
    case FileAccess::ReadStatus::OpenFailed:
        Fail(messages.OpenFailed, path, sourceFile, __LINE__, function);
    case FileAccess::ReadStatus::NotRegularFile:
        Fail(kNotRegularFile, path, sourceFile, __LINE__, "validateFileSize");
    case FileAccess::ReadStatus::TooLarge:
        Fail(messages.TooLarge, path, sourceFile, __LINE__, "validateFileSize");
    case FileAccess::ReadStatus::ReadFailed:
        break;
    }
    Fail(messages.ReadFailed, path, sourceFile, __LINE__, function, result.Error);
}

void StoreFile(const std::string& path, std::string_view content, std::string_view openForWritingFailed,
               const FileMessages& messages, const char* sourceFile, const char* function)
{
    const auto result = FileAccess::ReplaceFile(path, content);
    switch (result.Status)
    {
    case FileAccess::WriteStatus::Written:
        return;
    case FileAccess::WriteStatus::NotRegularFile: // nothing that is not a file is written to, nor waited on
    case FileAccess::WriteStatus::OpenFailed:
        Fail(openForWritingFailed, path, sourceFile, __LINE__, function);
    case FileAccess::WriteStatus::WriteFailed:
        break;
    }
    Fail(messages.WriteFailed, path, sourceFile, __LINE__, function, result.Error);
}

std::string LoadHwgFile(const std::string& path, const HwgFormat& format,
                        std::string (*readCrcContent)(std::istream&), const char* sourceFile,
                        const char* function)
{
    CheckFileSize(path, format.Messages.TooLarge, sourceFile);
    std::istringstream stream(LoadFile(path, format.Messages, sourceFile, function));
    if (!HasHwgHeader(stream))
    {
        Fail(format.InvalidHeader, path, sourceFile, __LINE__, function);
    }
    if (Contains(stream.view(), kHwgEndMarker))
    {
        Rewind(stream);
        const std::string guarded = readCrcContent(stream);
        std::string line;
        if (!std::getline(stream, line))
        {
            throw TessmarException(std::string(format.CrcLineMissing), sourceFile, __LINE__,
                                   "extractCrcValueFromFile");
        }
        const auto pieces = StringUtils::SplitViews(line, format.CrcSeparator, 3);
        if (pieces.size() != 2)
        {
            throw TessmarException(std::string(format.CrcLineInvalid) + line, sourceFile, __LINE__,
                                   "extractCrcValueFromFile");
        }
        if (CrcText(guarded) != StringUtils::TrimView(pieces[1]))
        {
            Fail(format.Tampered, path, sourceFile, __LINE__, function);
        }
    }
    // Lines after the CRC line are not guarded by it, so they are not read. The text is taken back from the
    // stream and cut in place: a file near the size limit is never held twice.
    std::string content = std::move(stream).str();
    content.resize(UpToCrcLine(content, kHwgEndMarker).size());
    return content;
}

std::string HwgFileStart(const HwgFormat& format, std::string_view libraryVersion,
                         std::string_view firmwareVersion)
{
    std::string out;
    out.append(kHwgHeader).append("\n");
    out.append(format.LibraryVersionLabel).append(VersionText(libraryVersion)).append("\n");
    out.append(format.FirmwareVersionLabel).append(VersionText(firmwareVersion)).append("\n");
    return out;
}

void StoreHwgFile(const std::string& path, std::string content, bool withEndMarker, const HwgFormat& format,
                  const char* sourceFile, const char* function)
{
    if (withEndMarker)
    {
        content.append(kHwgEndMarker).append("\n");
        const std::string crc = CrcText(content);
        content.append(kHwgCrcKey).append(format.CrcSeparator).append(crc);
    }
    // A file the readers would refuse for its size is no backup; the old file stays as it was.
    if (content.size() > kMaxFileSize)
    {
        Fail(format.Messages.TooLarge, path, sourceFile, __LINE__, function);
    }
    StoreFile(path, content, format.OpenForWritingFailed, format.Messages, sourceFile, function);
}

bool Contains(std::string_view line, std::string_view text)
{
    return line.find(text) != std::string_view::npos;
}

std::string RoomForTheRestOf(std::istream& stream)
{
    std::string text;
    const std::streamsize rest = stream.rdbuf()->in_avail();
    text.reserve(rest > 0 ? static_cast<std::size_t>(rest) + 1 : 0);
    return text;
}

std::string CrcText(std::string_view text)
{
    return StringUtils::ToHexString(
        StringUtils::Crc32Value(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 8);
}

std::string WithoutControlCharacters(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F)
        {
            kept += c;
        }
    }
    return kept;
}

std::string_view UpToCrcLine(std::string_view text, std::string_view marker)
{
    const auto at = text.find(marker);
    if (at == std::string_view::npos)
    {
        return text;
    }
    std::size_t end = text.find('\n', at);
    if (end != std::string_view::npos)
    {
        end = text.find('\n', end + 1);
    }
    return end == std::string_view::npos ? text : text.substr(0, end + 1);
}

bool HasHwgHeader(std::istream& stream)
{
    std::string line;
    std::getline(stream, line);
    Rewind(stream);
    return StringUtils::Trim(line) == kHwgHeader;
}

void Rewind(std::istream& stream)
{
    stream.clear();
    stream.seekg(0);
}
} // namespace PyxCommon::ConfigurationFileSupport
