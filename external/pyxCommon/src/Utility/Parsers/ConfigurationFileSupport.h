#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// What the three configuration-file parsers share: bounded reading, whole-file replacement and a few line
// helpers. Failures are raised with the calling parser's source file and function, as its own.
namespace PyxCommon::ConfigurationFileSupport
{
constexpr std::size_t kMaxFileSize = 10485760; // 0xA00000

// The template header and end marker of .hwg and BLE .hwg files.
constexpr std::string_view kHwgHeader = "/--- Tarnex and OEM Reader Configuration Template File ---";
constexpr std::string_view kHwgEndMarker = "/--- iEndOfHwgFile";
constexpr std::string_view kHwgCrcKey = "iEndOfHwgFile";
static_assert(kHwgHeader.size() == 58 && kHwgEndMarker.size() == 18);

// The texts one parser gives its file failures; each is followed by the path.
struct FileMessages
{
    std::string_view TooLarge;
    std::string_view OpenFailed;
    std::string_view ReadFailed;
    std::string_view WriteFailed;
};

// What sets the two .hwg formats (reader configurations and BLE data sets) apart where both are read and
// written the same way.
struct HwgFormat
{
    FileMessages Messages;
    std::string_view OpenForWritingFailed; // followed by the path
    std::string_view InvalidHeader;        // followed by the path
    std::string_view Tampered;             // followed by the path
    std::string_view CrcSeparator;         // between the CRC key and the digits
    std::string_view CrcLineMissing;
    std::string_view CrcLineInvalid; // followed by the line
    std::string_view LibraryVersionLabel;
    std::string_view FirmwareVersionLabel;
};

// Throws (as `validateFileSize`) when a regular file larger than the limit stands at the path; a missing
// path, or anything that is no regular file, passes. A failing query raises
// std::filesystem::filesystem_error.
void CheckFileSize(const std::string& path, std::string_view tooLarge, const char* sourceFile);

// The whole file, read once and bounded by the limit whatever the file reports.
std::string LoadFile(const std::string& path, const FileMessages& messages, const char* sourceFile,
                     const char* function);

// Replaces the file whole; on failure it keeps its old bytes and nothing else is left behind.
void StoreFile(const std::string& path, std::string_view content, std::string_view openForWritingFailed,
               const FileMessages& messages, const char* sourceFile, const char* function);

// Checks the size, loads the file, checks its header and, when it holds the end marker, its CRC line against
// the text `readCrcContent` takes from the start of the file (leaving the stream before the CRC line).
// Returns the part of the text the CRC guards.
std::string LoadHwgFile(const std::string& path, const HwgFormat& format,
                        std::string (*readCrcContent)(std::istream&), const char* sourceFile,
                        const char* function);

// The opening lines of a .hwg file: the template header and the two versions, each on a line of its own and
// with any text the readers take for structure broken up, so the file reads back as it was written.
std::string HwgFileStart(const HwgFormat& format, std::string_view libraryVersion,
                         std::string_view firmwareVersion);

// Closes `content` with the end marker and the CRC line over everything before it when asked, then replaces
// the file with it, unless it grew too large to be read back.
void StoreHwgFile(const std::string& path, std::string content, bool withEndMarker, const HwgFormat& format,
                  const char* sourceFile, const char* function);

bool Contains(std::string_view line, std::string_view text);

// An empty text with room for what the stream still holds and one more line feed, so the text a CRC is taken
// over, gathered line by line from a file near the size limit, never needs a second, larger copy.
std::string RoomForTheRestOf(std::istream& stream);

// The CRC-32 of `text` as the eight hexadecimal digits of a CRC line.
std::string CrcText(std::string_view text);

// Texts that come from a reader lose their control characters, so they cannot break a line.
std::string WithoutControlCharacters(std::string_view text);

// The text up to the end of the line after the first line that contains `marker` (the CRC line), so that
// nothing the CRC does not guard is parsed; the whole text when the marker is absent.
std::string_view UpToCrcLine(std::string_view text, std::string_view marker);

// The first line up to a line feed, trimmed, equals the template header; the stream is rewound.
bool HasHwgHeader(std::istream& stream);

void Rewind(std::istream& stream);
} // namespace PyxCommon::ConfigurationFileSupport
