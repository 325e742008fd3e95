#pragma once

#include <mutex>
#include <vector>

#include "Utility/TimeDelay.h"

namespace PyxTest
{
// A TimeDelay that returns at once and remembers every wait, so tests run at full speed and can assert the
// exact sequence of waits.
class RecordingTimeDelay : public PyxCommon::TimeDelay
{
public:
    struct Wait
    {
        enum class Unit
        {
            Milliseconds,
            Seconds
        } unit;
        int count;
        bool operator==(const Wait&) const = default;
    };

    void DelayMilliseconds(int milliseconds) override;
    void DelaySeconds(int seconds) override;

    std::vector<Wait> Waits() const;
    // The waits as milliseconds, seconds converted.
    std::vector<int> WaitsInMilliseconds() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<Wait> waits_;
};
} // namespace PyxTest
