#include <gtest/gtest.h>

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

constexpr uid_t kOtherUser = 65534;
constexpr gid_t kOtherGroup = 65534;

class ProtectedFiles : public PyxTest::ParserFileTest
{
protected:
    void WriteHwg(const std::string& path, std::uint8_t fields)
    {
        ExtendedConfiguration extended;
        extended.FieldSeparatorDataHeader.FieldEntryCount = fields;
        HwgFileParser::WriteConfigurationToHwgFile({ReaderConfiguration{}}, {extended}, path,
                                                   {"1", "1", true});
    }
    void WriteBle(const std::string& path, std::uint8_t byte)
    {
        ReaderBleConfiguration data;
        data.SetBleDataType(1).SetBleData({byte});
        BleHwgFileParser::WriteBleConfigurationToBleHwgFile(data, path, {"1", "1", true}, true);
    }
    // A file written by each writer, and a second write of it with other bytes.
    struct Target
    {
        std::string Path;
        std::string Refusal;
        std::function<void()> Write;
    };
    std::vector<Target> Targets()
    {
        const std::string hwg = PathOf("config.hwg");
        const std::string ble = PathOf("ble.hwg");
        WriteHwg(hwg, 0);
        WriteBle(ble, 0);
        return {{hwg, "Failed to open HWG file for writing: " + hwg, [this, hwg] { WriteHwg(hwg, 1); }},
                {ble, "Failed to open BLE HWG file for writing: " + ble, [this, ble] { WriteBle(ble, 1); }}};
    }
};

struct stat StatusOf(const std::string& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

TEST_F(ProtectedFiles, AFileTheCallerMayNotWriteIsRefusedAndKept)
{
    if (::geteuid() == 0)
    {
        GTEST_SKIP() << "root may write any file";
    }
    for (const Target& target : Targets())
    {
        ASSERT_EQ(::chmod(target.Path.c_str(), 0444), 0);
        const std::string old = ReadBytes(target.Path);
        EXPECT_EQ(FailureOf(target.Write).message, target.Refusal);
        EXPECT_EQ(ReadBytes(target.Path), old);
        EXPECT_EQ(StatusOf(target.Path).st_mode & 07777, 0444U);
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"ble.hwg", "config.hwg"}));
}

TEST_F(ProtectedFiles, RootKeepsTheOwnerGroupAndModeOfTheFileItReplaces)
{
    if (::geteuid() != 0)
    {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    for (const Target& target : Targets())
    {
        ASSERT_EQ(::chown(target.Path.c_str(), kOtherUser, kOtherGroup), 0);
        ASSERT_EQ(::chmod(target.Path.c_str(), 0600), 0);
        const std::string old = ReadBytes(target.Path);
        target.Write();
        EXPECT_NE(ReadBytes(target.Path), old);
        const struct stat info = StatusOf(target.Path);
        EXPECT_EQ(info.st_uid, kOtherUser);
        EXPECT_EQ(info.st_gid, kOtherGroup);
        EXPECT_EQ(info.st_mode & 07777, 0600U);
    }
}
} // namespace
