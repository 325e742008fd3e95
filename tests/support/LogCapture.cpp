#include "LogCapture.h"

#include <algorithm>
#include <stdexcept>

#include <spdlog/sinks/ostream_sink.h>
#include <spdlog/spdlog.h>

#include "Logging/Logger.h"

namespace PyxTest
{
LogCapture::LogCapture(const std::string& variable, const std::string& value)
    : text_(std::make_shared<std::ostringstream>())
{
    auto& manager = PyxCommon::Logger::GetInstance(false, true);
    logger_ = spdlog::get("PYX");
    if (!logger_)
    {
        throw std::runtime_error("The library's console logger is not registered");
    }
    manager.UseEnvironment([variable, value](const std::string& name)
                           { return name == variable ? std::optional<std::string>(value) : std::nullopt; });
    saved_ = logger_->sinks();
    auto sink = std::make_shared<spdlog::sinks::ostream_sink_mt>(*text_);
    sink->set_pattern("%v");
    logger_->sinks() = {sink};
}

LogCapture::~LogCapture()
{
    logger_->sinks() = saved_;
    PyxCommon::Logger::GetInstance(false, true).UseEnvironment(&PyxCommon::Logger::ProcessEnvironment);
}

std::string LogCapture::Text() const
{
    logger_->flush();
    return text_->str();
}

std::vector<std::string> LogCapture::Lines() const
{
    std::vector<std::string> lines;
    std::istringstream in(Text());
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
