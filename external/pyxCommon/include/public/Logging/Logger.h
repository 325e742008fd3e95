#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace spdlog
{
class logger;
}

namespace PyxCommon
{
// Process-wide logging manager. Whether a component's message is written is decided once, from the
// environment read when the manager is built; spdlog does the writing.
class Logger
{
public:
    // Answers the value of an environment variable, or nothing when it is not set.
    using EnvironmentLookup = std::function<std::optional<std::string>(const std::string&)>;

    // The one instance; the first call builds it from the process environment, later calls ignore their
    // arguments.
    static Logger& GetInstance(bool enableFileLog, bool enableConsoleLog);

    // A manager of its own, reading its settings through `environment`; for tests and tools.
    Logger(bool enableFileLog, bool enableConsoleLog, const EnvironmentLookup& environment);
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void Trace(const std::string& component, const std::string& message);
    void Debug(const std::string& component, const std::string& message);
    void Info(const std::string& component, const std::string& message);
    void Warn(const std::string& component, const std::string& message);
    void Error(const std::string& component, const std::string& message);

    void Log(const std::string& component, const std::string& message, int level);
    bool ShouldLog(const std::string& component, int level) const;

    // Reads the component levels anew through `environment`, replacing those read when the manager was
    // built; the sinks stay. For tests that need a level of their own without touching the process
    // environment; not to be called while other threads log.
    void UseEnvironment(const EnvironmentLookup& environment);

    // The process environment as an EnvironmentLookup.
    static std::optional<std::string> ProcessEnvironment(const std::string& name);

private:
    std::shared_ptr<spdlog::logger> console_;
    std::shared_ptr<spdlog::logger> file_;
    std::map<std::string, std::string> levels_;
};
} // namespace PyxCommon
