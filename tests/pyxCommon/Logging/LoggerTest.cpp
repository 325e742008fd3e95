#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Logging/Logger.h"

namespace
{
using PyxCommon::Logger;

Logger::EnvironmentLookup Environment(std::map<std::string, std::string> values)
{
    return [values = std::move(values)](const std::string& name) -> std::optional<std::string>
    {
        const auto found = values.find(name);
        if (found == values.end())
        {
            return std::nullopt;
        }
        return found->second;
    };
}

TEST(Logger, UnsetVariablesSilenceEveryComponent)
{
    const Logger logger(false, false, Environment({}));
    for (const char* tag : {"READER", "PROTOCOL", "TRANSPORT", "COMMON", "WEBHID", "ANDROIDHID"})
    {
        for (int level = 0; level <= 5; ++level)
        {
            EXPECT_FALSE(logger.ShouldLog(tag, level)) << tag << " " << level;
        }
    }
}

TEST(Logger, LevelWordsAreLowerCasedAndMatchedExactly)
{
    const Logger logger(false, false,
                        Environment({{"PYX_TRANSPORT_LOG_LEVEL", "DEBUG"},
                                     {"PYX_LOG_LEVEL", "warning"},
                                     {"PYX_PROTOCOL_LOG_LEVEL", "off"},
                                     {"PYX_COMMON_LOG_LEVEL", " info"},
                                     {"PYX_WEBHID_LOG_LEVEL", "critical"},
                                     {"PYX_ANDROIDHID_LOG_LEVEL", "Trace"}}));
    EXPECT_FALSE(logger.ShouldLog("TRANSPORT", 0));
    for (int level = 1; level <= 5; ++level)
    {
        EXPECT_TRUE(logger.ShouldLog("TRANSPORT", level));
        EXPECT_FALSE(logger.ShouldLog("READER", level));
        EXPECT_FALSE(logger.ShouldLog("PROTOCOL", level));
        EXPECT_FALSE(logger.ShouldLog("COMMON", level));
    }
    EXPECT_FALSE(logger.ShouldLog("WEBHID", 4));
    EXPECT_TRUE(logger.ShouldLog("WEBHID", 5));
    EXPECT_TRUE(logger.ShouldLog("ANDROIDHID", 0));
    EXPECT_FALSE(logger.ShouldLog("NOSUCHTAG", 4));
}

// Runs the probe in an empty environment plus `variables`, in `directory`; returns its standard output.
std::string RunProbe(const std::string& variables, const std::filesystem::path& directory)
{
    const std::string command =
        "cd '" + directory.string() + "' && env -i " + variables + " '" PYX_LOGGER_PROBE "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        return "<popen failed>";
    }
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
    {
        output += buffer;
    }
    EXPECT_EQ(::pclose(pipe), 0);
    return output;
}

std::filesystem::path FreshDirectory(const std::string& name)
{
    auto dir =
        std::filesystem::temp_directory_path() / ("pyx-logger-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Logger, NothingIsWrittenAndNoFileCreatedWithoutVariables)
{
    const auto dir = FreshDirectory("silent");
    EXPECT_EQ(RunProbe("", dir), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "logs"));
    std::filesystem::remove_all(dir);
}

TEST(Logger, ConsoleLinesCarryTheTagAndTheMessageAsData)
{
    const auto dir = FreshDirectory("console");
    const std::string out = RunProbe("PYX_TRANSPORT_LOG_LEVEL=DEBUG", dir);
    EXPECT_NE(out.find("[TRANSPORT] debug {} line"), std::string::npos) << out;
    EXPECT_NE(out.find("[TRANSPORT] error line"), std::string::npos);
    EXPECT_EQ(out.find("[TRANSPORT] trace"), std::string::npos);
    EXPECT_EQ(out.find("[READER]"), std::string::npos);
    EXPECT_EQ(out.find("NOSUCHTAG"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(Logger, LogFileVariableCreatesTheDefaultFileEvenWhenZero)
{
    const auto dir = FreshDirectory("file");
    RunProbe("PYX_LOG_FILE=0 PYX_LOG_LEVEL=trace", dir);
    const std::string text = ReadFile(dir / "logs" / "pyx.log");
    EXPECT_NE(text.find("[READER] trace {0} line"), std::string::npos) << text;
    // Appended, never truncated.
    RunProbe("PYX_LOG_FILE=1 PYX_LOG_LEVEL=error", dir);
    const std::string again = ReadFile(dir / "logs" / "pyx.log");
    EXPECT_EQ(again.rfind(text, 0), 0U);
    EXPECT_GT(again.size(), text.size());
    std::filesystem::remove_all(dir);
}

TEST(Logger, LogPathChoosesTheFile)
{
    const auto dir = FreshDirectory("path");
    RunProbe("PYX_LOG_FILE= PYX_LOG_PATH=custom.log PYX_PROTOCOL_LOG_LEVEL=info", dir);
    const std::string text = ReadFile(dir / "custom.log");
    EXPECT_NE(text.find("[PROTOCOL] info line"), std::string::npos) << text;
    EXPECT_EQ(text.find("[PROTOCOL] debug"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "logs"));
    std::filesystem::remove_all(dir);
}
} // namespace
