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
// Collects the lines the library writes to its console logger while it lives, instead of printing them.
// Meanwhile the logging manager reads its levels from an environment holding only `variable` = `value`
// (e.g. "PYX_TRANSPORT_LOG_LEVEL", "trace"), and from the process environment again afterwards, so no test
// changes what the rest of its binary logs.
class LogCapture
{
public:
    LogCapture(const std::string& variable, const std::string& value);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Everything written, each message as "[TAG] message" without time stamp or level, one per line.
    std::string Text() const;
    std::vector<std::string> Lines() const;
    bool Contains(const std::string& line) const;

private:
    std::shared_ptr<spdlog::logger> logger_;
    std::vector<std::shared_ptr<spdlog::sinks::sink>> saved_;
    std::shared_ptr<std::ostringstream> text_;
};
} // namespace PyxTest
