#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include <fmt/format.h>

#include "LibraryBuildInfo.h"
#include "Reader/AbstractReader.h"
#include "Reader/LibraryInfoBuilder.h"
#include "Reader/PyxResult.h"
#include "Reader/ReaderLog.h"
#include "Structures/ReaderDefinition.h"

namespace Pyx
{
namespace
{
constexpr const char kVersion[] = "1.7.0+6063";
// A host that asks its package manager for the version it sees at run time must find it.
static_assert(std::string_view(kVersion).starts_with(BuildInfo::kPackageVersion) &&
                  kVersion[BuildInfo::kPackageVersion.size()] == '+',
              "the project's version in CMakeLists.txt and the library information's version differ");

PyxResult ZeroResult()
{
    PyxResult result;
    std::memset(&result, 0, sizeof result);
    return result;
}
} // namespace

LibraryInfo BuildLibraryInfo()
{
    using PyxCommon::SetFieldText;
    LibraryInfo info;
    SetFieldText(info.LibraryName, "Velmora Library");
    SetFieldText(info.ShortName, "PYX Reader");
    SetFieldText(info.Description, BuildInfo::kDescription);
    SetFieldText(info.CompanyName, BuildInfo::kCompanyName);
    SetFieldText(info.LegalNotice, BuildInfo::kLegalNotice);
    SetFieldText(info.License, BuildInfo::kLicense);
    SetFieldText(info.LongDescription, BuildInfo::kDescription);
    SetFieldText(info.Version, kVersion);
    SetFieldText(info.BuildVersion, kVersion);
    SetFieldText(info.BumpType, "minor");
    SetFieldText(info.BuildNumber, "6063");
    SetFieldText(info.Branch, "main");
    SetFieldText(info.BuildUrl, BuildInfo::kBuildUrl);
    SetFieldText(info.BuildType, "Release");
    SetFieldText(info.BuildDate, "2026-09-11-20:52:10+0000");
    SetFieldText(info.BuildPlatform, BuildInfo::kBuildPlatform);
    SetFieldText(info.BuildToolchain, BuildInfo::kBuildToolchain);
    SetFieldText(info.Extra1, "Unknown");
    SetFieldText(info.Extra2, "Unknown");
    SetFieldText(info.Extra3, "Unknown");
    SetFieldText(info.RepositoryName, BuildInfo::kRepositoryName);
    SetFieldText(info.Commit, BuildInfo::kCommit);
    SetFieldText(info.CommitHash, BuildInfo::kCommit);
    SetFieldText(info.SourceRevision, BuildInfo::kCommit);
    SetFieldText(info.BuildPath, BuildInfo::kBuildPath);
    SetFieldText(info.IsAlphaBuild, "false");
    SetFieldText(info.InformationalVersion, "1.7.0.main+6063");
    SetFieldText(info.Extra4, "Unknown");
    return info;
}

PyxResult AbstractReader::GetLibraryInfo(LibraryInfo& info)
{
    Log().Trace(kReaderTag, "Reader: GetLibraryInfo");
    info = BuildLibraryInfo();
    return ZeroResult();
}

PyxResult AbstractReader::GetLibraryInfoAsString(char* buffer, std::size_t bufferSize)
{
    Log().Trace(kReaderTag, "Reader: GetLibraryInfoAsString");
    const LibraryInfo info = BuildLibraryInfo();
    const std::string text = fmt::format(
        "Library Name: {}\nVersion: {}\nIs Alpha Build: {}\nBuild Ver: {}\nBuild Date: {}\nBuild Number: {}\n"
        "Build Type: {}\nBump Type: {}\nInformational Version: {}\nBuild Platform: {}\nBuild Toolchain: {}\n"
        "Commit: {}\nBranch: {}",
        info.LibraryName, info.Version, info.IsAlphaBuild, info.BuildVersion, info.BuildDate,
        info.BuildNumber, info.BuildType, info.BumpType, info.InformationalVersion, info.BuildPlatform,
        info.BuildToolchain, info.Commit, info.Branch);

    PyxResult result = ZeroResult();
    // The text needs its length plus the terminating zero; a null buffer holds nothing.
    if (buffer == nullptr || text.size() >= bufferSize)
    {
        result.ResultCode = 1;
        std::strncpy(result.ExceptionType, "BufferSizeException", sizeof result.ExceptionType - 1);
        std::strncpy(result.Message, "Buffer size too small for library info string",
                     sizeof result.Message - 1);
        return result;
    }
    std::strncpy(buffer, text.c_str(), bufferSize - 1);
    buffer[bufferSize - 1] = '\0';
    return result;
}
} // namespace Pyx
