#include "RecordingTimeDelay.h"

namespace PyxTest
{
void RecordingTimeDelay::DelayMilliseconds(int milliseconds)
{
    std::lock_guard lock(mutex_);
    waits_.push_back({Wait::Unit::Milliseconds, milliseconds});
}

void RecordingTimeDelay::DelaySeconds(int seconds)
{
    std::lock_guard lock(mutex_);
    waits_.push_back({Wait::Unit::Seconds, seconds});
}

std::vector<RecordingTimeDelay::Wait> RecordingTimeDelay::Waits() const
{
    std::lock_guard lock(mutex_);
    return waits_;
}

std::vector<int> RecordingTimeDelay::WaitsInMilliseconds() const
{
    std::lock_guard lock(mutex_);
    std::vector<int> result;
    result.reserve(waits_.size());
    for (const auto& wait : waits_)
    {
        result.push_back(wait.unit == Wait::Unit::Seconds ? wait.count * 1000 : wait.count);
    }
    return result;
}

void RecordingTimeDelay::Clear()
{
    std::lock_guard lock(mutex_);
    waits_.clear();
}
} // namespace PyxTest
