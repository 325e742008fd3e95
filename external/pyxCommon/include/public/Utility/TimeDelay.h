#pragma once

namespace PyxCommon
{
// The only way the protocol library waits, so that tests can record the waits instead of sleeping.
class TimeDelay
{
public:
    virtual ~TimeDelay() = default;
    // Block until now + n units on the steady clock; n <= 0 returns at once.
    virtual void DelayMilliseconds(int milliseconds);
    virtual void DelaySeconds(int seconds);
};
} // namespace PyxCommon
