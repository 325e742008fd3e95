#include "HotplugTimeDelay.h"

namespace PyxTest
{
void HotplugTimeDelay::At(int waitNumber, std::function<void()> action)
{
    actions_[waitNumber] = std::move(action);
}

void HotplugTimeDelay::DelayMilliseconds(int milliseconds)
{
    RecordingTimeDelay::DelayMilliseconds(milliseconds);
    RunDue();
}

void HotplugTimeDelay::DelaySeconds(int seconds)
{
    RecordingTimeDelay::DelaySeconds(seconds);
    RunDue();
}

void HotplugTimeDelay::RunDue()
{
    const auto found = actions_.find(++waits_);
    if (found != actions_.end())
    {
        auto action = std::move(found->second);
        actions_.erase(found);
        action();
    }
}
} // namespace PyxTest
