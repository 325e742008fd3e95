#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Reader/AbstractReader.h"
#include "Reader/PyxResult.h"
#include "Reader/Reader_C.h"

namespace
{
std::string InfoText()
{
    std::vector<char> buffer(4096, 'x');
    const PyxResult result = Pyx::AbstractReader::GetLibraryInfoAsString(buffer.data(), buffer.size());
    EXPECT_EQ(result.ResultCode, 0);
    return buffer.data();
}

TEST(LibraryInfo, TheTextFitsExactlyItsLengthPlusTheZero)
{
    const std::string text = InfoText();
    EXPECT_EQ(text.rfind("Library Name: Velmora Library\nVersion: 1.7.0+6063\n", 0), 0u);
    EXPECT_NE(text.find("\nBuild Date: 2026-09-11-20:52:10+0000\n"), std::string::npos);
    EXPECT_NE(text.find("\nBuild Platform: linux\n"), std::string::npos);
    EXPECT_EQ(text.back(), 'n'); // "Branch: main", no line feed after the last line

    for (std::size_t size : {std::size_t{0}, text.size()})
    {
        std::vector<char> buffer(text.size() + 1, 'x');
        const PyxResult refused = Pyx::AbstractReader::GetLibraryInfoAsString(buffer.data(), size);
        EXPECT_EQ(refused.ResultCode, 1);
        EXPECT_STREQ(refused.ExceptionType, "BufferSizeException");
        EXPECT_STREQ(refused.Message, "Buffer size too small for library info string");
        EXPECT_EQ(std::string(buffer.begin(), buffer.end()), std::string(text.size() + 1, 'x'));
    }
    EXPECT_EQ(Pyx::AbstractReader::GetLibraryInfoAsString(nullptr, 4096).ResultCode, 1); // nowhere to write
    std::vector<char> exact(text.size() + 1, 'x');
    EXPECT_EQ(Pyx::AbstractReader::GetLibraryInfoAsString(exact.data(), exact.size()).ResultCode, 0);
    EXPECT_EQ(std::string(exact.data()), text);
}

TEST(LibraryInfo, TheRecordDescribesThisBuild)
{
    Pyx::LibraryInfo info;
    std::memset(&info, 'x', sizeof info);
    const PyxResult result = Pyx::AbstractReader::GetLibraryInfo(info);
    const PyxResult zero{};
    EXPECT_EQ(std::memcmp(&result, &zero, sizeof result), 0);

    const PyxLibraryInfo built = Pyx_BuildLibraryInfo();
    EXPECT_EQ(std::memcmp(&info, &built, sizeof info), 0);
    EXPECT_STREQ(info.BuildPlatform, "linux");
#if defined(__clang__)
    EXPECT_STREQ(info.BuildToolchain, "clang");
#elif defined(__GNUC__)
    EXPECT_STREQ(info.BuildToolchain, "gcc");
#endif
    const std::string commit = info.Commit;
    EXPECT_TRUE(commit == "Unknown" ||
                (commit.size() == 40 && commit.find_first_not_of("0123456789abcdef") == std::string::npos))
        << commit;
    EXPECT_STREQ(info.CommitHash, info.Commit);
    EXPECT_STREQ(info.SourceRevision, info.Commit);
    EXPECT_STREQ(info.InformationalVersion, "1.7.0.main+6063");
}
} // namespace
