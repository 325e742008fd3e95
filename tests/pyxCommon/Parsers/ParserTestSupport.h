#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "../Structures/RecordTestSupport.h"
#include "Utility/StringUtils.h"

namespace PyxTest
{
// A folder of its own for each test, removed afterwards.
class ParserFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("pyx-parsers-" + std::to_string(::getpid()) + "-" + test->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    // Names of what the folder holds, so a test can see that no temporary file was left behind.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
        {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path folder_;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string GoldenFile(const std::string& name)
{
    return (std::filesystem::path(__FILE__).parent_path() / "data" / name).string();
}

// Compares with a golden file; PYX_UPDATE_GOLDEN=1 rewrites it instead, after a deliberate format change.
inline void ExpectGolden(const std::string& bytes, const std::string& name)
{
    if (std::getenv("PYX_UPDATE_GOLDEN") != nullptr)
    {
        WriteBytes(GoldenFile(name), bytes);
    }
    EXPECT_EQ(bytes, ReadBytes(GoldenFile(name))) << name;
}

inline std::string Crc(const std::string& text)
{
    return PyxCommon::StringUtils::Crc32(std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
    {
        text.replace(at, from.size(), to);
    }
    return text;
}
} // namespace PyxTest
