#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "Operations/CardData.h"
#include "Reader/CardData.h"

namespace Pyx
{
// The dispatch threads of one handler that have not ended yet, shared with them and with whoever must wait
// for them, since they can outlive their handler by the callback that stopped or destroyed it. Each thread
// holds a place in the order in which it was started and calls no callback before every older one has
// ended, so the callbacks of one reader never overlap.
//
// This count of live threads, and not which caller happens to hold which std::thread, is what a close of the
// reader waits for: a thread may be joined by another stopper (a host thread unsubscribing, say), or handed
// over to be joined later, and the close still returns only once it has ended.
class CallbackThreads
{
public:
    // True on a dispatch thread of this handler (inside a callback, or around one).
    bool OnOneOfThem() const { return current_ == this; }
    // True on a dispatch thread of any reader.
    static bool OnAnyOfThem() { return current_ != nullptr; }
    // Marks a close of the reader in progress: waiters wait for it to finish as well.
    void BeginClose();
    void EndClose();
    // Waits until every thread has ended; returns at once on one of the threads, which would wait for
    // itself.
    void WaitForThreads();
    // Waits until every thread has ended and no close is in progress; returns at once on one of the
    // threads.
    void WaitForAll();
    bool AllEnded() const;

private:
    friend class GetCardDataCallbackHandler;

    std::uint64_t Add();
    // Called by the thread itself as the last thing it does for the library.
    void Remove(std::uint64_t place);
    // Waits until `place` is the oldest thread; false when `abandoned` was set meanwhile.
    bool WaitForTurn(std::uint64_t place, const bool& abandoned);
    // Sets `abandoned` and wakes a thread waiting for its turn.
    void Abandon(bool& abandoned);
    void EnterThread() { current_ = this; }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::set<std::uint64_t> running_;
    std::uint64_t next_ = 0;
    int closing_ = 0;
    static thread_local const CallbackThreads* current_;
};

// Delivers the cards presented to one reader to the callbacks subscribed to it. While it runs, a poll thread
// reads the reader every 200 ms and queues each new card, and a dispatch thread hands every queued card to
// every callback. Callbacks run on the dispatch thread; they may subscribe, unsubscribe (themselves
// included) and destroy their own reader.
class GetCardDataCallbackHandler
{
public:
    using Callback = std::function<void(CardData&)>;

    GetCardDataCallbackHandler();
    // Stops for good (as Shutdown) and forgets the subscriptions.
    ~GetCardDataCallbackHandler();
    GetCardDataCallbackHandler(const GetCardDataCallbackHandler&) = delete;
    GetCardDataCallbackHandler& operator=(const GetCardDataCallbackHandler&) = delete;

    // A subscription id unique in the process, never 0.
    std::uint32_t Subscribe(Callback callback);
    // An unknown id is ignored.
    void Unsubscribe(std::uint32_t id);
    bool HasSubscribers() const;

    void SetCardDataSizeParameters(PyxProtocol::GetCardDataSizeParameters sizeParameters);
    PyxProtocol::GetCardDataSizeParameters GetCardDataSizeParameters() const;

    // Starts polling with `readFunction` (which fills a card from the reader); a running handler keeps its
    // first read function, and a handler that was shut down starts nothing. A failed start leaves the
    // handler stopped and rethrows.
    void Start(Callback readFunction);
    // Stops and joins both threads; cards already queued are still delivered first. Called from a callback,
    // the dispatch thread delivers nothing more and is joined later, and a newer dispatch thread, which
    // waits for that callback to return before it delivers anything, ends without delivering. Called from a
    // callback of another reader, Stop and StopIfUnsubscribed do not wait for this handler's dispatch
    // threads (that reader's callback may be waiting for this one's): they are joined later, and a close of
    // this reader waits for them. Stop and Shutdown called from any other thread also wait for the threads
    // that stopped themselves earlier, so no callback of this handler runs once they return.
    void Stop();
    // Stops only when no callback is subscribed, decided against Start so that a callback subscribed
    // meanwhile is never left without threads.
    void StopIfUnsubscribed();
    // Stops, and no later Start starts anything.
    void Shutdown();
    bool IsPolling() const { return polling_.load(); }
    // The dispatch threads, which a close of the reader may have to wait for after this object is gone.
    const std::shared_ptr<CallbackThreads>& Threads() const { return threads_; }

private:
    struct Subscribers;
    struct Run;

    enum class StopMode
    {
        Always,
        WhenUnsubscribed,
        ForGood,
    };

    // A dispatch thread stopped from one of its own callbacks, or from another reader's, with its run.
    struct RetiredThread
    {
        std::thread thread;
        std::shared_ptr<Run> run;
    };

    void StopThreads(StopMode mode);
    // Keeps a dispatch thread that cannot be joined where it is stopped, to be joined later.
    void Retire(RetiredThread thread);
    template <typename Predicate> void TakeRetiredLocked(std::vector<RetiredThread>& taken, Predicate take);
    static void JoinAll(std::vector<RetiredThread>& threads);
    static void PollLoop(const std::shared_ptr<Run>& run, const std::shared_ptr<Subscribers>& shared);
    static void DispatchLoop(Run& run, Subscribers& shared, CallbackThreads& threads);
    static void RequestStop(Run& run);

    // Shared with the threads, which may outlive this object by the moment it takes a thread to end after
    // it stopped or destroyed its own reader.
    std::shared_ptr<Subscribers> shared_;
    std::shared_ptr<CallbackThreads> threads_;

    mutable std::mutex sizeMutex_;
    PyxProtocol::GetCardDataSizeParameters sizeParameters_ =
        PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES;

    // Serialises Start and Stop; never held while a thread is joined.
    std::mutex lifecycleMutex_;
    std::shared_ptr<Run> run_;
    std::thread pollThread_;
    std::thread dispatchThread_;
    std::atomic<bool> polling_{false};
    bool shutDown_ = false;
    std::vector<RetiredThread> retired_;
};
} // namespace Pyx
