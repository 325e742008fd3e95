#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace Pyx::Detail
{
// The lock every operation of one reader holds from its first step to its last, recursive since composite
// operations run others. Threads get it in the order they asked for it: a host thread that runs operations
// back to back queues behind the poll thread instead of taking the lock again before the poll thread wakes,
// so cards are still read while the host keeps the reader busy.
class SequenceLock
{
public:
    void lock()
    {
        const std::thread::id self = std::this_thread::get_id();
        std::unique_lock guard(mutex_);
        if (owner_ == self)
        {
            ++depth_;
            return;
        }
        const std::uint64_t ticket = nextTicket_++;
        turn_.wait(guard, [&] { return serving_ == ticket; });
        owner_ = self;
        depth_ = 1;
    }

    void unlock()
    {
        std::lock_guard guard(mutex_);
        if (--depth_ != 0)
        {
            return;
        }
        owner_ = std::thread::id();
        ++serving_;
        if (nextTicket_ != serving_)
        {
            turn_.notify_all();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable turn_;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t serving_ = 0;
    std::thread::id owner_;
    unsigned depth_ = 0;
};
} // namespace Pyx::Detail
