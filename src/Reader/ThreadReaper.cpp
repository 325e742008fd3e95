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
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable())
    {
        worker_.join();
    }
    // Threads handed over after the worker ended (or without one) are joined here.
    for (auto& thread : pending_)
    {
        if (thread.joinable())
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
        lock.unlock();
        if (thread.joinable())
        {
            thread.join();
        }
        lock.lock();
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
