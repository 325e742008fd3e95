#pragma once

#include <functional>
#include <map>

#include "RecordingTimeDelay.h"

namespace PyxTest
{
// A RecordingTimeDelay that also runs a test's action during a chosen wait, so a device can appear (or go)
// between two attempts of a retry loop without anything sleeping.
class HotplugTimeDelay : public RecordingTimeDelay
{
public:
    // Runs `action` during the `waitNumber`-th wait (counting from 1).
    void At(int waitNumber, std::function<void()> action);

    void DelayMilliseconds(int milliseconds) override;
    void DelaySeconds(int seconds) override;

private:
    void RunDue();

    int waits_ = 0;
    std::map<int, std::function<void()>> actions_;
};
} // namespace PyxTest
