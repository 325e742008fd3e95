#include "LogCapture.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include <spdlog/sinks/ostream_sink.h>
#include <spdlog/spdlog.h>

#include "Logging/Logger.h"

namespace PyxTest
{
LogCapture::LogCapture() : text_(std::make_shared<std::ostringstream>())
{
    // The manager reads its levels once, when first used; the test command sets the same variable for the
    // case where something logged before this.
    ::setenv("PYX_TRANSPORT_LOG_LEVEL", "trace", 0);
    PyxCommon::Logger::GetInstance(false, true);
    logger_ = spdlog::get("PYX");
    if (!logger_)
    {
        throw std::runtime_error("The library's console logger is not registered");
    }
    saved_ = logger_->sinks();
    auto sink = std::make_shared<spdlog::sinks::ostream_sink_mt>(*text_);
    sink->set_pattern("%v");
    logger_->sinks() = {sink};
}

LogCapture::~LogCapture()
{
    logger_->sinks() = saved_;
}

std::vector<std::string> LogCapture::Lines() const
{
    logger_->flush();
    std::vector<std::string> lines;
    std::istringstream in(text_->str());
    for (std::string line; std::getline(in, line);)
    {
        lines.push_back(line);
    }
    return lines;
}

bool LogCapture::Contains(const std::string& line) const
{
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
} // namespace PyxTest
