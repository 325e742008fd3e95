#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace spdlog
{
class logger;
namespace sinks
{
class sink;
}
} // namespace spdlog

namespace PyxTest
{
// Collects the lines the library writes to its console logger while it lives, instead of printing them,
// with the transport's messages let through down to trace. Build it before the code under test logs.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The messages, without time stamp or level, each as "[TAG] message".
    std::vector<std::string> Lines() const;
    bool Contains(const std::string& line) const;

private:
    std::shared_ptr<spdlog::logger> logger_;
    std::vector<std::shared_ptr<spdlog::sinks::sink>> saved_;
    std::shared_ptr<std::ostringstream> text_;
};
} // namespace PyxTest
