#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "Utility/TimeDelay.h"

namespace
{
TEST(TimeDelay, WaitsAtLeastTheCount)
{
    PyxCommon::TimeDelay delay;
    const auto start = std::chrono::steady_clock::now();
    delay.DelayMilliseconds(20);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
}

TEST(TimeDelay, NonPositiveCountsReturnAtOnce)
{
    PyxCommon::TimeDelay delay;
    const auto start = std::chrono::steady_clock::now();
    delay.DelayMilliseconds(0);
    delay.DelayMilliseconds(INT_MIN);
    delay.DelaySeconds(-1);
    delay.DelaySeconds(INT_MIN);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}
} // namespace
