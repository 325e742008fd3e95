#include "Logging/Logger.h"

#include <array>
#include <cctype>
#include <utility>

#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include "Utility/EnvironmentVariables.h"

namespace PyxCommon
{
namespace
{
constexpr const char* kConsoleLoggerName = "PYX";
constexpr const char* kFileLoggerName = "FileLogger";
constexpr const char* kDefaultLogPath = "logs/pyx.log";

struct ComponentVariable
{
    const char* tag;
    const char* variable;
};

constexpr std::array<ComponentVariable, 6> kComponentVariables{{
    {"WEBHID", "PYX_WEBHID_LOG_LEVEL"},
    {"ANDROIDHID", "PYX_ANDROIDHID_LOG_LEVEL"},
    {"TRANSPORT", "PYX_TRANSPORT_LOG_LEVEL"},
    {"PROTOCOL", "PYX_PROTOCOL_LOG_LEVEL"},
    {"COMMON", "PYX_COMMON_LOG_LEVEL"},
    {"READER", "PYX_LOG_LEVEL"},
}};

// The lowest level each word lets through; words not listed let nothing through ("off", "warning", "").
struct LevelWord
{
    const char* word;
    int lowest;
};

constexpr std::array<LevelWord, 6> kLevelWords{{
    {"trace", 0},
    {"debug", 1},
    {"info", 2},
    {"warn", 3},
    {"error", 4},
    {"critical", 5},
}};

std::string ToLower(std::string text)
{
    for (char& c : text)
    {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}
} // namespace

Logger& Logger::GetInstance(bool enableFileLog, bool enableConsoleLog)
{
    static Logger instance(enableFileLog, enableConsoleLog, &Logger::ProcessEnvironment);
    return instance;
}

std::optional<std::string> Logger::ProcessEnvironment(const std::string& name)
{
    if (!EnvironmentVariables::IsEnvironmentVariableSet(name))
    {
        return std::nullopt;
    }
    return EnvironmentVariables::GetEnvironmentVariable(name);
}

Logger::Logger(bool enableFileLog, bool enableConsoleLog, const EnvironmentLookup& environment)
{
    if (enableConsoleLog)
    {
        try
        {
            console_ = spdlog::stdout_color_mt(kConsoleLoggerName);
            console_->set_level(spdlog::level::trace);
        }
        catch (const std::exception&)
        {
            console_.reset();
        }
    }

    if (enableFileLog || environment("PYX_LOG_FILE").has_value())
    {
        try
        {
            const std::string path = environment("PYX_LOG_PATH").value_or(kDefaultLogPath);
            file_ = spdlog::basic_logger_mt(kFileLoggerName, path, false);
            file_->set_level(spdlog::level::trace);
        }
        catch (const std::exception&)
        {
            file_.reset();
        }
    }

    UseEnvironment(environment);
}

void Logger::UseEnvironment(const EnvironmentLookup& environment)
{
    levels_.clear();
    for (const auto& [tag, variable] : kComponentVariables)
    {
        if (auto value = environment(variable))
        {
            levels_[tag] = ToLower(std::move(*value));
        }
    }
}

Logger::~Logger()
{
    // The registry may be shared with the host: only our own loggers leave it, and spdlog stays up.
    try
    {
        if (console_)
        {
            console_->flush();
            spdlog::drop(kConsoleLoggerName);
        }
        if (file_)
        {
            file_->flush();
            spdlog::drop(kFileLoggerName);
        }
    }
    catch (...)
    {
    }
}

void Logger::Trace(const std::string& component, const std::string& message)
{
    Log(component, message, 0);
}

void Logger::Debug(const std::string& component, const std::string& message)
{
    Log(component, message, 1);
}

void Logger::Info(const std::string& component, const std::string& message)
{
    Log(component, message, 2);
}

void Logger::Warn(const std::string& component, const std::string& message)
{
    Log(component, message, 3);
}

void Logger::Error(const std::string& component, const std::string& message)
{
    Log(component, message, 4);
}

bool Logger::ShouldLog(const std::string& component, int level) const
{
    const auto found = levels_.find(component);
    if (found == levels_.end())
    {
        return false;
    }
    for (const auto& [word, lowest] : kLevelWords)
    {
        if (found->second == word)
        {
            return level >= lowest && level <= 5;
        }
    }
    return false;
}

void Logger::Log(const std::string& component, const std::string& message, int level)
{
    if (!ShouldLog(component, level))
    {
        return;
    }
    // Messages carry device texts that may hold braces: they are arguments, never the format.
    const auto spdLevel = static_cast<spdlog::level::level_enum>(level);
    try
    {
        if (console_)
        {
            console_->log(spdLevel, "[{}] {}", component, message);
        }
        if (file_)
        {
            file_->log(spdLevel, "[{}] {}", component, message);
        }
    }
    catch (...)
    {
        // A full disk or a closed console must not turn into a failed reader operation.
    }
}
} // namespace PyxCommon
