#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sstream>
#include <string>
#include <sys/wait.h>
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

// Sanitizers hold freed memory back and shadow every byte, so resident sizes mean nothing under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryIsMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

// What a call answered and the most resident memory it took on top of what the process already held. It
// runs in a child process of its own, whose high-water mark starts where the parent stood.
struct Measured
{
    std::string Outcome;
    std::size_t PeakBytes = 0;
};

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

inline Measured MeasuredInChild(const std::function<std::string()>& call)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
    {
        ADD_FAILURE() << "pipe";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0)
    {
        ::close(pipeEnds[0]);
#ifdef __GLIBC__
        ::malloc_trim(0); // memory the parent freed but kept would otherwise be reused unseen
#endif
        std::ofstream("/proc/self/clear_refs") << "5"; // the high-water mark restarts here, where it can
        const std::size_t before = StatusKiB("VmRSS:");
        std::string outcome = call();
        const std::size_t peak = StatusKiB("VmHWM:");
        const std::uint64_t bytes = peak > before ? (peak - before) * 1024ULL : 0;
        std::string report(reinterpret_cast<const char*>(&bytes), sizeof bytes);
        report += outcome;
        for (std::size_t at = 0; at < report.size();)
        {
            const ssize_t written = ::write(pipeEnds[1], report.data() + at, report.size() - at);
            if (written <= 0)
            {
                std::_Exit(1);
            }
            at += static_cast<std::size_t>(written);
        }
        std::_Exit(0);
    }
    ::close(pipeEnds[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    {
        report.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || report.size() < sizeof(std::uint64_t))
    {
        ADD_FAILURE() << "the measured child did not report";
        return {};
    }
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, report.data(), sizeof bytes);
    return {report.substr(sizeof bytes), static_cast<std::size_t>(bytes)};
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
