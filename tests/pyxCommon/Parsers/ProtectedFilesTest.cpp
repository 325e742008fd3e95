#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ParserTestSupport.h"
#include "Utility/Parsers/BleHwgFileParser.h"
#include "Utility/Parsers/HwgFileParser.h"

using namespace PyxCommon;

// Root may write any file, so what an ordinary user may not write shows only when these tests run as one:
// CTest runs them once more as uid 65534 (pyxCommonParserTestsUnprivileged).
namespace
{
using PyxTest::FailureOf;
using PyxTest::ReadBytes;

class ProtectedFiles : public PyxTest::ParserFileTest
{
protected:
    // Writes the .hwg file, or the BLE one, with `byte` in it.
    void Write(bool ble, std::uint8_t byte) { Write(ble, byte, Path(ble)); }
    void Write(bool ble, std::uint8_t byte, const std::string& path)
    {
        if (ble)
        {
            ReaderBleConfiguration data;
            data.SetBleDataType(1).SetBleData({byte});
            BleHwgFileParser::WriteBleConfigurationToBleHwgFile(data, path, {"1", "1", true}, true);
            return;
        }
        ReaderConfiguration configuration;
        configuration.SetTerminationCharacter(byte);
        HwgFileParser::WriteConfigurationToHwgFile({configuration}, {{}}, path, {"1", "1", true});
    }
    std::string Path(bool ble) const { return PathOf(ble ? "ble.hwg" : "config.hwg"); }
};

TEST_F(ProtectedFiles, AFileTheCallerMayNotWriteIsRefusedAndKept)
{
    if (::geteuid() == 0)
    {
        GTEST_SKIP() << "root may write any file";
    }
    for (const bool ble : {false, true})
    {
        Write(ble, 0);
        ASSERT_EQ(::chmod(Path(ble).c_str(), 0444), 0);
        const std::string old = ReadBytes(Path(ble));
        EXPECT_EQ(
            FailureOf([&] { Write(ble, 1); }).message,
            (ble ? "Failed to open BLE HWG file for writing: " : "Failed to open HWG file for writing: ") +
                Path(ble));
        EXPECT_EQ(ReadBytes(Path(ble)), old);
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"ble.hwg", "config.hwg"}));
}

TEST_F(ProtectedFiles, RootKeepsTheOwnerGroupAndModeOfTheFileItReplaces)
{
    if (::geteuid() != 0)
    {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    Write(false, 0);
    ASSERT_EQ(::chown(Path(false).c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(Path(false).c_str(), 0600), 0);
    Write(false, 1);
    struct stat info
    {
    };
    ASSERT_EQ(::stat(Path(false).c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534U);
    EXPECT_EQ(info.st_gid, 65534U);
    EXPECT_EQ(info.st_mode & 07777, 0600U);
    EXPECT_NE(ReadBytes(Path(false)).find("iELDelim = 1 "), std::string::npos);
}

// In a folder a group shares, a member who saves over another member's file takes the file but leaves it
// with the group, so its owner can still open it.
TEST_F(ProtectedFiles, AGroupMemberWhoSavesOverASharedFileKeepsItsGroup)
{
    if (::geteuid() != 0)
    {
        GTEST_SKIP() << "only root may lay out files of other users";
    }
    constexpr uid_t kOwner = 1000;
    constexpr uid_t kMember = 1001;
    constexpr gid_t kGroup = 1002;
    ASSERT_EQ(::chown(folder_.c_str(), 0, kGroup), 0);
    ASSERT_EQ(::chmod(folder_.c_str(), 0775), 0);
    for (const bool ble : {false, true})
    {
        Write(ble, 0);
        ASSERT_EQ(::chown(Path(ble).c_str(), kOwner, kGroup), 0);
        ASSERT_EQ(::chmod(Path(ble).c_str(), 0660), 0);
        const auto saveAsMember = [&]
        {
            const gid_t groups[] = {kGroup};
            const bool dropped =
                ::setgroups(1, groups) == 0 && ::setgid(kMember) == 0 && ::setuid(kMember) == 0;
            const bool written = dropped && FailureOf([&] { Write(ble, 1); }).message == "<no exception>";
            std::_Exit(written ? 0 : 1);
        };
        EXPECT_EXIT(saveAsMember(), ::testing::ExitedWithCode(0), "") << ble;
        struct stat info
        {
        };
        ASSERT_EQ(::stat(Path(ble).c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, kMember) << ble;
        EXPECT_EQ(info.st_gid, kGroup) << ble;
        EXPECT_EQ(info.st_mode & 07777, 0660U) << ble;
        EXPECT_NE(ReadBytes(Path(ble)).find(ble ? "=\n01\n" : "iELDelim = 1 "), std::string::npos) << ble;
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"ble.hwg", "config.hwg"}));
}

// A name as long as the folder takes is written anew and over an old file; a longer one does not open.
TEST_F(ProtectedFiles, EveryNameTheFolderTakesIsWritten)
{
    const auto longest = static_cast<std::size_t>(::pathconf(folder_.c_str(), _PC_NAME_MAX));
    for (const bool ble : {false, true})
    {
        const std::string path = PathOf(std::string(longest - 4, ble ? 'b' : 'c') + ".hwg");
        Write(ble, 0, path);
        Write(ble, 1, path);
        EXPECT_NE(ReadBytes(path).find(ble ? "=\n01\n" : "iELDelim = 1 "), std::string::npos);
    }
    const std::string tooLong = PathOf(std::string(longest + 1, 'c'));
    EXPECT_EQ(FailureOf([&] { Write(false, 0, tooLong); }).message,
              "Failed to open HWG file for writing: " + tooLong);
    EXPECT_EQ(Entries().size(), 2U);
}

// What is no regular file is neither written nor waited on, and is refused as a target that does not open.
TEST_F(ProtectedFiles, ATargetThatIsNoRegularFileDoesNotOpen)
{
    ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(PathOf("folder"));
    for (const bool ble : {false, true})
    {
        for (const std::string& path : {PathOf("fifo"), PathOf("folder")})
        {
            EXPECT_EQ(FailureOf([&] { Write(ble, 0, path); }).message,
                      (ble ? "Failed to open BLE HWG file for writing: "
                           : "Failed to open HWG file for writing: ") +
                          path);
        }
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"fifo", "folder"}));
    EXPECT_TRUE(std::filesystem::is_empty(PathOf("folder")));
}
} // namespace
