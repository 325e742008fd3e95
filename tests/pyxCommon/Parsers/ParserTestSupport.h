#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

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

// Sanitizers hold freed memory back and shadow every byte, so resident sizes mean nothing under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

inline std::size_t StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind(field, 0) == 0)
        {
            return std::stoul(line.substr(line.find(':') + 1));
        }
    }
    return 0;
}

// The resident memory `call` takes at its peak on top of what the process held before. Meant for a child
// process (a death test), whose high-water mark starts where the parent stood.
inline std::size_t PeakBytesOf(const std::function<void()>& call)
{
#ifdef __GLIBC__
    ::malloc_trim(0); // memory the parent freed but kept would otherwise be reused unseen
#endif
    std::ofstream("/proc/self/clear_refs") << "5"; // the high-water mark restarts here, where it can
    const std::size_t before = StatusKiB("VmRSS:");
    call();
    const std::size_t peak = StatusKiB("VmHWM:");
    return peak > before ? (peak - before) * 1024 : 0;
}

// Version texts a reader could report that look like the structure of one file format or another: alone, in
// a longer text, overlapping, or joined only once control characters are dropped.
inline const std::vector<std::string> kHostileVersions = {
    "##NEXTCONFIG##",
    "2.07 ###NEXTCONFIG##NEXTCONFIG###",
    "##NEXT\x01"
    "CONFIG##",
    "/--- iEndOfHwgFile",
    "/--- iEnd\tOfHwgFile x",
    "iEndOfHwgFile = 00000000",
    "BEGIN sFldSepData END sFldSepData",
    "BEGIN sFldBleData1",
    "BEGIN sFldBleData2\nEND sFldBleData2",
    "/--- Tarnex and OEM Reader Configuration Template File ---",
};

// Whether a written line is all hexadecimal bytes and periods: a data line of an extended or BLE section.
inline bool IsDataLine(std::string_view line)
{
    return !line.empty() && line.find_first_not_of("0123456789ABCDEF.") == std::string_view::npos;
}

// Cuts the file at `path`, whose whole text is `text`, at every shorter length, from the end backwards, and
// hands each cut that falls inside a line to `check`, with whether that line, as written, carries a value.
// A cut at the end of a line, before or after its line feed, is only counted: no reader can tell it from a
// shorter file. Returns the numbers of cuts at a line end, inside a value line and inside another line;
// stops at the first failure.
inline std::array<std::size_t, 3> SweepCuts(const std::string& path, const std::string& text,
                                            const std::function<bool(std::string_view)>& carriesValue,
                                            const std::function<void(std::size_t, bool)>& check)
{
    std::array<std::size_t, 3> counts{};
    for (std::size_t size = text.size(); size-- > 0 && !::testing::Test::HasFailure();)
    {
        std::filesystem::resize_file(path, size);
        if (size == 0 || text[size - 1] == '\n' || text[size] == '\n')
        {
            ++counts[0];
            continue;
        }
        const std::size_t start = text.rfind('\n', size - 1) + 1; // npos + 1 is the first line's start
        const std::string_view line = std::string_view(text).substr(start, text.find('\n', start) - start);
        const bool value = carriesValue(line);
        ++counts[value ? 1 : 2];
        check(size, value);
    }
    return counts;
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
