#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace Pyx::Detail
{
// Joins threads that cannot be joined where they are stopped: a credential thread that stops or destroys
// its own reader hands itself over here and is joined once it has ended. Built before the first reader
// exists and torn down after the last is gone, so nothing it joins outlives the library.
class ThreadReaper
{
public:
    static ThreadReaper& Instance();

    ThreadReaper() = default;
    ~ThreadReaper();
    ThreadReaper(const ThreadReaper&) = delete;
    ThreadReaper& operator=(const ThreadReaper&) = delete;

    // Takes the thread (usually the calling one) and joins it on the reaper's own thread.
    void Adopt(std::thread thread);

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::thread> pending_;
    bool stopping_ = false;
    // The thread the worker is joining, and the one running the destructor.
    std::thread::id joining_;
    std::thread::id exiting_;
    std::thread worker_;
};

// Joins `thread` when it is another thread; hands it to the reaper when it is the calling one.
void JoinOrHandOver(std::thread& thread);
} // namespace Pyx::Detail
