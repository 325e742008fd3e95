#include "Utility/TimeDelay.h"

#include <chrono>
#include <thread>

namespace PyxCommon
{
namespace
{
template <typename Duration> void SleepFor(int count)
{
    if (count <= 0)
    {
        return;
    }
    using Clock = std::chrono::steady_clock;
    const auto now = Clock::now();
    // An int count of seconds fits the clock's 64-bit nanoseconds, so the comparison itself is exact.
    const auto wanted = std::chrono::duration_cast<Clock::duration>(Duration(count));
    const auto room = Clock::time_point::max() - now;
    const auto deadline = wanted >= room ? Clock::time_point::max() : now + wanted;
    std::this_thread::sleep_until(deadline);
}
} // namespace

void TimeDelay::DelayMilliseconds(int milliseconds)
{
    SleepFor<std::chrono::milliseconds>(milliseconds);
}

void TimeDelay::DelaySeconds(int seconds)
{
    SleepFor<std::chrono::seconds>(seconds);
}
} // namespace PyxCommon
