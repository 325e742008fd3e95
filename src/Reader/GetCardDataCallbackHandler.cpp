#include "GetCardDataCallbackHandler.h"

#include <chrono>
#include <exception>
#include <unordered_set>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "Reader/ReaderException.h"
#include "ReaderLog.h"
#include "ThreadReaper.h"

namespace Pyx
{
namespace
{
constexpr std::chrono::milliseconds kPollInterval{200};

// Subscription ids are unique across every reader of the process. The counter wraps after 2^32 ids; an id
// still held by a subscriber is then skipped, as is 0, which the C interface reports on failure.
class SubscriptionIds
{
public:
    static SubscriptionIds& Instance()
    {
        // Never destroyed: readers still open at unload release their ids after static destruction began.
        static auto* ids = new SubscriptionIds;
        return *ids;
    }

    std::uint32_t Take()
    {
        for (;;)
        {
            std::uint32_t id = next_.fetch_add(1);
            if (id == 0)
            {
                id = next_.fetch_add(1);
            }
            if (id == 0)
            {
                continue;
            }
            std::lock_guard lock(mutex_);
            if (inUse_.insert(id).second)
            {
                return id;
            }
        }
    }

    void Release(std::uint32_t id)
    {
        std::lock_guard lock(mutex_);
        inUse_.erase(id);
    }

private:
    std::atomic<std::uint32_t> next_{1};
    std::mutex mutex_;
    std::unordered_set<std::uint32_t> inUse_;
};
} // namespace

struct GetCardDataCallbackHandler::Subscribers
{
    std::mutex mutex;
    std::map<std::uint32_t, Callback> callbacks;
    // The last card queued, across runs: a card left on the reader is reported once.
    std::mutex lastCardMutex;
    CardData lastCard;
};

// One Start to Stop: the read function, the two flags (each changed under the mutex its wait uses) and the
// queue between the threads.
struct GetCardDataCallbackHandler::Run
{
    Callback read;
    std::mutex pollMutex;
    std::condition_variable pollWake;
    bool polling = true;
    std::mutex queueMutex;
    std::condition_variable queueSignal;
    std::deque<CardData> queue;
    bool dispatching = true;
    // Set when a callback stopped the handler on the dispatch thread (and only read there): the thread then
    // calls no further callback, so a newer run's thread is the only one delivering this reader's cards.
    bool handedOver = false;
    // Set by the dispatch thread as it ends, so a handed-over thread can be joined without waiting.
    std::atomic<bool> dispatchEnded{false};
    // The dispatch thread's place among the handler's threads.
    std::uint64_t place = 0;
    // Set (under the threads' mutex) when the run is stopped from an older dispatch thread: its own thread
    // then ends without delivering, since it may deliver nothing before that older one has ended.
    bool abandoned = false;
};

thread_local const CallbackThreads* CallbackThreads::current_ = nullptr;

std::uint64_t CallbackThreads::Add()
{
    std::lock_guard lock(mutex_);
    const std::uint64_t place = next_++;
    running_.insert(place);
    return place;
}

void CallbackThreads::Remove(std::uint64_t place)
{
    {
        std::lock_guard lock(mutex_);
        running_.erase(place);
    }
    changed_.notify_all();
}

bool CallbackThreads::WaitForTurn(std::uint64_t place, const bool& abandoned)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return abandoned || *running_.begin() == place; });
    return !abandoned;
}

void CallbackThreads::Abandon(bool& abandoned)
{
    {
        std::lock_guard lock(mutex_);
        abandoned = true;
    }
    changed_.notify_all();
}

void CallbackThreads::BeginClose()
{
    std::lock_guard lock(mutex_);
    ++closing_;
}

void CallbackThreads::EndClose()
{
    {
        std::lock_guard lock(mutex_);
        --closing_;
    }
    changed_.notify_all();
}

void CallbackThreads::WaitForThreads()
{
    if (OnOneOfThem())
    {
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return running_.empty(); });
}

void CallbackThreads::WaitForAll()
{
    if (OnOneOfThem())
    {
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return running_.empty() && closing_ == 0; });
}

bool CallbackThreads::AllEnded() const
{
    std::lock_guard lock(mutex_);
    return running_.empty() && closing_ == 0;
}

GetCardDataCallbackHandler::GetCardDataCallbackHandler()
    : shared_(std::make_shared<Subscribers>()), threads_(std::make_shared<CallbackThreads>())
{
}

GetCardDataCallbackHandler::~GetCardDataCallbackHandler()
{
    Shutdown();
    // Only a thread that destroys its own handler can still be here; the reaper joins it once it ended.
    std::vector<RetiredThread> retired;
    {
        std::lock_guard lock(lifecycleMutex_);
        retired.swap(retired_);
    }
    for (auto& entry : retired)
    {
        Detail::JoinOrHandOver(entry.thread);
    }
    std::lock_guard lock(shared_->mutex);
    for (const auto& entry : shared_->callbacks)
    {
        SubscriptionIds::Instance().Release(entry.first);
    }
    shared_->callbacks.clear();
}

std::uint32_t GetCardDataCallbackHandler::Subscribe(Callback callback)
{
    const std::uint32_t id = SubscriptionIds::Instance().Take();
    std::lock_guard lock(shared_->mutex);
    shared_->callbacks.emplace(id, std::move(callback));
    return id;
}

void GetCardDataCallbackHandler::Unsubscribe(std::uint32_t id)
{
    Callback removed;
    {
        std::lock_guard lock(shared_->mutex);
        const auto found = shared_->callbacks.find(id);
        if (found == shared_->callbacks.end())
        {
            return;
        }
        // Destroyed outside the lock: a callback's captures may unsubscribe in their destructors.
        removed = std::move(found->second);
        shared_->callbacks.erase(found);
    }
    SubscriptionIds::Instance().Release(id);
}

bool GetCardDataCallbackHandler::HasSubscribers() const
{
    std::lock_guard lock(shared_->mutex);
    return !shared_->callbacks.empty();
}

void GetCardDataCallbackHandler::SetCardDataSizeParameters(
    PyxProtocol::GetCardDataSizeParameters sizeParameters)
{
    std::lock_guard lock(sizeMutex_);
    sizeParameters_ = sizeParameters;
}

PyxProtocol::GetCardDataSizeParameters GetCardDataCallbackHandler::GetCardDataSizeParameters() const
{
    std::lock_guard lock(sizeMutex_);
    return sizeParameters_;
}

void GetCardDataCallbackHandler::Start(Callback readFunction)
{
    std::lock_guard lock(lifecycleMutex_);
    if (shutDown_ || polling_.exchange(true))
    {
        return;
    }
    auto run = std::make_shared<Run>();
    run->read = std::move(readFunction);
    run->place = threads_->Add();
    try
    {
        dispatchThread_ = std::thread(
            [run, shared = shared_, threads = threads_]
            {
                threads->EnterThread();
                DispatchLoop(*run, *shared, *threads);
                run->dispatchEnded.store(true);
                threads->Remove(run->place);
            });
        pollThread_ = std::thread([run, shared = shared_] { PollLoop(run, shared); });
    }
    catch (...)
    {
        // A half-started handler is rolled back, so a later Start can try again.
        RequestStop(*run);
        if (dispatchThread_.joinable())
        {
            dispatchThread_.join();
        }
        else
        {
            threads_->Remove(run->place);
        }
        polling_.store(false);
        throw;
    }
    run_ = std::move(run);
}

void GetCardDataCallbackHandler::Stop()
{
    StopThreads(StopMode::Always);
}

void GetCardDataCallbackHandler::StopIfUnsubscribed()
{
    StopThreads(StopMode::WhenUnsubscribed);
}

void GetCardDataCallbackHandler::Shutdown()
{
    StopThreads(StopMode::ForGood);
}

void GetCardDataCallbackHandler::RequestStop(Run& run)
{
    {
        std::lock_guard lock(run.pollMutex);
        run.polling = false;
    }
    run.pollWake.notify_all();
    {
        std::lock_guard lock(run.queueMutex);
        run.dispatching = false;
    }
    run.queueSignal.notify_all();
}

void GetCardDataCallbackHandler::StopThreads(StopMode mode)
{
    std::shared_ptr<Run> run;
    std::thread pollThread;
    std::thread dispatchThread;
    std::vector<RetiredThread> retired;
    // On another reader's dispatch thread, only a close waits for this reader's dispatch threads: two
    // callbacks that stop each other's readers would otherwise wait for each other for ever.
    const bool handOver =
        mode != StopMode::ForGood && CallbackThreads::OnAnyOfThem() && !threads_->OnOneOfThem();
    {
        std::lock_guard lock(lifecycleMutex_);
        if (mode == StopMode::ForGood)
        {
            shutDown_ = true;
        }
        if (mode == StopMode::WhenUnsubscribed && HasSubscribers())
        {
            return;
        }
        // A full stop also waits for the threads that stopped themselves earlier (each finishing the callback
        // that stopped it), so nothing of this reader runs once it returns. The calling thread may be one of
        // them: it stays listed until the destructor hands it to the reaper.
        if (mode != StopMode::WhenUnsubscribed && !handOver)
        {
            TakeRetiredLocked(retired, [](const RetiredThread& entry)
                              { return entry.thread.get_id() != std::this_thread::get_id(); });
        }
        if (polling_.exchange(false))
        {
            run = std::move(run_);
            pollThread = std::move(pollThread_);
            dispatchThread = std::move(dispatchThread_);
        }
    }
    if (run)
    {
        // The poll thread ends first, so nothing is queued behind the dispatcher's last round. Joined outside
        // the lock: a callback on the dispatch thread may itself subscribe, unsubscribe or start meanwhile.
        {
            std::lock_guard lock(run->pollMutex);
            run->polling = false;
        }
        run->pollWake.notify_all();
        Detail::JoinOrHandOver(pollThread);
        {
            std::lock_guard lock(run->queueMutex);
            run->dispatching = false;
        }
        run->queueSignal.notify_all();
        if (dispatchThread.get_id() == std::this_thread::get_id())
        {
            // Stopped from one of its own callbacks: the thread cannot join itself, so it is kept to be
            // joined later, and it delivers nothing more (cards still queued reach no callback).
            run->handedOver = true;
            Retire({std::move(dispatchThread), run});
        }
        else if (handOver)
        {
            // It drains its queue as after any stop, and is joined by a later full stop or the destructor.
            Retire({std::move(dispatchThread), run});
        }
        else
        {
            if (threads_->OnOneOfThem())
            {
                // Stopped from the callback of an older dispatch thread, which this run's thread waits for
                // before it delivers anything: it ends without delivering, or this join would never return.
                threads_->Abandon(run->abandoned);
            }
            Detail::JoinOrHandOver(dispatchThread);
        }
    }
    JoinAll(retired);
}

void GetCardDataCallbackHandler::Retire(RetiredThread thread)
{
    // Those retired earlier that have ended are joined now, so the list does not grow.
    std::vector<RetiredThread> ended;
    {
        std::lock_guard lock(lifecycleMutex_);
        TakeRetiredLocked(ended, [](const RetiredThread& entry) { return entry.run->dispatchEnded.load(); });
        retired_.push_back(std::move(thread));
    }
    JoinAll(ended);
}

template <typename Predicate>
void GetCardDataCallbackHandler::TakeRetiredLocked(std::vector<RetiredThread>& taken, Predicate take)
{
    for (auto entry = retired_.begin(); entry != retired_.end();)
    {
        if (take(*entry))
        {
            taken.push_back(std::move(*entry));
            entry = retired_.erase(entry);
        }
        else
        {
            ++entry;
        }
    }
}

void GetCardDataCallbackHandler::JoinAll(std::vector<RetiredThread>& threads)
{
    for (auto& entry : threads)
    {
        if (entry.thread.joinable())
        {
            entry.thread.join();
        }
    }
}

void GetCardDataCallbackHandler::PollLoop(const std::shared_ptr<Run>& run,
                                          const std::shared_ptr<Subscribers>& shared)
{
    for (;;)
    {
        {
            std::lock_guard lock(run->pollMutex);
            if (!run->polling)
            {
                return;
            }
        }
        CardData card;
        bool failed = true;
        try
        {
            run->read(card);
            failed = false;
        }
        catch (const ReaderException& exception)
        {
            Log().Error(
                kReaderTag,
                fmt::format(
                    "GetCardDataCallbackHandler: ReaderException occurred while polling the reader: {}",
                    exception.GetMessage()));
        }
        catch (const std::exception& exception)
        {
            Log().Error(
                kReaderTag,
                fmt::format("GetCardDataCallbackHandler: Exception occurred while polling the reader: {}",
                            exception.what()));
        }
        catch (...)
        {
            Log().Error(kReaderTag,
                        "GetCardDataCallbackHandler: Unknown exception occurred while polling the reader.");
        }

        bool queued = false;
        {
            std::lock_guard lock(shared->lastCardMutex);
            if (failed)
            {
                // The same card presented again after a failed read is reported again.
                shared->lastCard = CardData();
            }
            else if (!card.IsEmpty() && card != shared->lastCard)
            {
                shared->lastCard = card;
                queued = true;
            }
        }
        if (queued)
        {
            {
                std::lock_guard lock(run->queueMutex);
                run->queue.push_back(std::move(card));
            }
            run->queueSignal.notify_one();
        }

        std::unique_lock lock(run->pollMutex);
        const auto deadline = std::chrono::steady_clock::now() + kPollInterval;
        run->pollWake.wait_until(lock, deadline, [&run] { return !run->polling; });
    }
}

void GetCardDataCallbackHandler::DispatchLoop(Run& run, Subscribers& shared, CallbackThreads& threads)
{
    // Older threads may still be in a callback (one that stopped its own run, or one draining a stopped
    // run); cards wait in the queue until they have ended, as they do behind a slow callback.
    bool ownTurn = false;
    for (;;)
    {
        CardData card;
        {
            std::unique_lock lock(run.queueMutex);
            if (run.handedOver)
            {
                return;
            }
            run.queueSignal.wait(lock, [&run] { return !run.queue.empty() || !run.dispatching; });
            if (run.queue.empty())
            {
                return;
            }
            card = std::move(run.queue.front());
            run.queue.pop_front();
        }
        if (!ownTurn)
        {
            if (!threads.WaitForTurn(run.place, run.abandoned))
            {
                return;
            }
            ownTurn = true;
        }
        std::vector<std::pair<std::uint32_t, Callback>> callbacks;
        {
            std::lock_guard lock(shared.mutex);
            callbacks.assign(shared.callbacks.begin(), shared.callbacks.end());
        }
        for (auto& [id, callback] : callbacks)
        {
            if (run.handedOver)
            {
                return;
            }
            try
            {
                callback(card);
            }
            catch (const ReaderException& exception)
            {
                Log().Error(kReaderTag, fmt::format("GetCardDataCallbackHandler: ReaderException occurred "
                                                    "while executing callback {}: {}",
                                                    id, exception.GetMessage()));
            }
            catch (const std::exception& exception)
            {
                Log().Error(
                    kReaderTag,
                    fmt::format(
                        "GetCardDataCallbackHandler: Exception occurred while executing callback {}: {}", id,
                        exception.what()));
            }
            catch (...)
            {
                Log().Error(
                    kReaderTag,
                    fmt::format(
                        "GetCardDataCallbackHandler: Unknown exception occurred while executing callback {}",
                        id));
            }
        }
    }
}
} // namespace Pyx
