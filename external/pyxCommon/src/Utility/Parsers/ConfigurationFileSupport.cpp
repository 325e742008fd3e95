#include "Utility/Parsers/ConfigurationFileSupport.h"

#include <filesystem>

#include "Exceptions/TessmarException.h"
#include "Utility/Parsers/FileAccess.h"
#include "Utility/StringUtils.h"

namespace PyxCommon::ConfigurationFileSupport
{
namespace
{
constexpr std::string_view kNotRegularFile = "Not a regular file: ";

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
    const auto status = std::filesystem::status(path);
    if (!std::filesystem::exists(status))
    {
        return;
    }
    if (!std::filesystem::is_regular_file(status))
    {
        Fail(kNotRegularFile, path, sourceFile, __LINE__, "validateFileSize");
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
    case FileAccess::WriteStatus::NotRegularFile:
        Fail(kNotRegularFile, path, sourceFile, __LINE__, function);
    case FileAccess::WriteStatus::OpenFailed:
        Fail(openForWritingFailed, path, sourceFile, __LINE__, function);
    case FileAccess::WriteStatus::WriteFailed:
        break;
    }
    Fail(messages.WriteFailed, path, sourceFile, __LINE__, function, result.Error);
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
