#include "ThreadReaper.h"

#include <utility>

namespace Pyx::Detail
{
ThreadReaper& ThreadReaper::Instance()
{
    static ThreadReaper reaper;
    return reaper;
}

ThreadReaper::~ThreadReaper()
{
    // Torn down at exit, which a callback may have called: the exiting thread can be among those handed
    // over, and is never waited for here, by the worker or by this destructor; the process ends with it.
    const std::thread::id self = std::this_thread::get_id();
    bool workerJoinsSelf = false;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        exiting_ = self;
        workerJoinsSelf = joining_ == self;
    }
    changed_.notify_all();
    if (worker_.joinable())
    {
        if (workerJoinsSelf)
        {
            worker_.detach();
        }
        else
        {
            worker_.join();
        }
    }
    // Threads handed over after the worker ended (or without one) are joined here.
    for (auto& thread : pending_)
    {
        if (thread.get_id() == self)
        {
            thread.detach();
        }
        else if (thread.joinable())
        {
            thread.join();
        }
    }
}

void ThreadReaper::Adopt(std::thread thread)
{
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(thread));
    if (!worker_.joinable() && !stopping_)
    {
        worker_ = std::thread([this] { Run(); });
    }
    changed_.notify_all();
}

void ThreadReaper::Run()
{
    std::unique_lock lock(mutex_);
    for (;;)
    {
        changed_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty())
        {
            return;
        }
        std::thread thread = std::move(pending_.front());
        pending_.pop_front();
        if (stopping_ && thread.get_id() == exiting_)
        {
            thread.detach();
            continue;
        }
        joining_ = thread.get_id();
        lock.unlock();
        if (thread.joinable())
        {
            thread.join();
        }
        lock.lock();
        joining_ = {};
    }
}

void JoinOrHandOver(std::thread& thread)
{
    if (!thread.joinable())
    {
        return;
    }
    if (thread.get_id() == std::this_thread::get_id())
    {
        ThreadReaper::Instance().Adopt(std::move(thread));
        return;
    }
    thread.join();
}
} // namespace Pyx::Detail
