#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <future>
#include <iostream>
#include <latch>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <pthread.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

#include "Reader/ReaderCapabilityProfile.h"
#include "Reader/ReaderException.h"
#include "SerialReaderFixture.h"

// Run under ThreadSanitizer too: readers shared by threads that subscribe, unsubscribe, initialise, operate,
// close and destroy at once, and callbacks that remove themselves or destroy their own reader.
namespace PyxReaderTest
{
namespace
{
constexpr auto kLongRead = PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES;

// Fails the whole run, rather than hanging it, when `work` does not end in time.
void WithWatchdog(const std::function<void()>& work, std::chrono::seconds limit = std::chrono::seconds(120))
{
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    if (done.wait_for(limit) != std::future_status::ready)
    {
        std::cerr << "watchdog: the threads did not finish within " << limit.count() << " s" << std::endl;
        std::abort();
    }
    runner.join();
    done.get();
}

// Keeps the calling thread, and every thread it starts meanwhile (the reader's poll and dispatch threads
// included), on the one core it runs on, without preemption at wake-up: a thread that releases a lock and
// asks for it again at once keeps the core, as on a busy host or a quiet machine whose idle cores wake
// slowly, so a lock that is not handed over in turn is never handed over.
class OneBusyCore
{
public:
    OneBusyCore()
    {
        EXPECT_EQ(::sched_getaffinity(0, sizeof(cores_), &cores_), 0);
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(::sched_getcpu(), &one);
        EXPECT_EQ(::sched_setaffinity(0, sizeof(one), &one), 0);
        EXPECT_EQ(::pthread_getschedparam(::pthread_self(), &policy_, &parameters_), 0);
        const sched_param batch{};
        EXPECT_EQ(::pthread_setschedparam(::pthread_self(), SCHED_BATCH, &batch), 0);
    }
    ~OneBusyCore()
    {
        ::pthread_setschedparam(::pthread_self(), policy_, &parameters_);
        ::sched_setaffinity(0, sizeof(cores_), &cores_);
    }
    OneBusyCore(const OneBusyCore&) = delete;
    OneBusyCore& operator=(const OneBusyCore&) = delete;

private:
    cpu_set_t cores_{};
    int policy_ = SCHED_OTHER;
    sched_param parameters_{};
};

// A call that may fail because another thread closed or destroyed the reader meanwhile.
template <typename Call> void Tolerated(Call&& call)
{
    try
    {
        call();
    }
    catch (const std::exception&)
    {
    }
}

// What a host's callbacks share: the host frees it as soon as the close it waits for returns, so a callback
// still running then writes to freed memory (AddressSanitizer) or is counted in `callsAfterClose`.
struct CallbackProbe
{
    std::atomic<int> running{0};
    std::atomic<int> mostAtOnce{0};
    std::atomic<int> returned{0};
    Deliveries deliveries;

    template <typename Work> void Run(Pyx::CardData& card, Work&& work)
    {
        const int now = ++running;
        int most = mostAtOnce.load();
        while (now > most && !mostAtOnce.compare_exchange_weak(most, now))
        {
        }
        deliveries.Add(card);
        work();
        --running;
        ++returned;
    }
};

class ReaderStressTest : public SerialReaderTest
{
protected:
    // Subscribes `work` as a callback that runs on `host`, and presents the card that calls it.
    unsigned int SubscribeAndPresent(CallbackProbe* host, std::function<void()> work)
    {
        const unsigned int id = Reader().OnCredentialPresented(
            [host, work](Pyx::CardData& card) { host->Run(card, work); }, kLongRead);
        Present(26, 0x01);
        return id;
    }
};

TEST_F(ReaderStressTest, ThreadsShareOneReaderUntilItIsDestroyedUnderThem)
{
    void* handle = Open();
    Present(26, 0x5A);
    std::atomic<bool> destroyed{false};
    std::atomic<int> delivered{0};

    WithWatchdog(
        [&]
        {
            std::vector<std::thread> threads;
            for (int t = 0; t < 6; ++t)
            {
                threads.emplace_back(
                    [&, t]
                    {
                        std::mt19937 random(static_cast<unsigned>(t));
                        std::vector<unsigned int> mine;
                        for (int round = 0; round < 40; ++round)
                        {
                            const auto reader = Pyx::AbstractReader::AcquireInstance(handle);
                            if (!reader)
                            {
                                EXPECT_TRUE(destroyed.load());
                                return;
                            }
                            auto& concrete = static_cast<Pyx::Reader&>(*reader);
                            switch (random() % 6)
                            {
                            case 0:
                                Tolerated(
                                    [&] {
                                        mine.push_back(concrete.OnCredentialPresented(
                                            [&](Pyx::CardData&) { ++delivered; }, kLongRead));
                                    });
                                break;
                            case 1:
                                if (!mine.empty())
                                {
                                    concrete.UnsubscribeCredentialCallback(mine.back());
                                    mine.pop_back();
                                }
                                break;
                            case 2:
                                Tolerated([&] { concrete.Init(); });
                                break;
                            case 3:
                                Tolerated(
                                    [&]
                                    {
                                        Pyx::CardData card;
                                        concrete.GetCardData(card, kLongRead);
                                    });
                                break;
                            case 4:
                                Tolerated([&] { concrete.GetMetadataStruct(random() % 4 == 0); });
                                break;
                            default:
                                Tolerated(
                                    [&]
                                    {
                                        concrete.GetReaderCapabilityProfile().HasCapability(
                                            Pyx::ReaderCapability::READER_CAPABILITY_KEYSTROKING);
                                    });
                                break;
                            }
                        }
                    });
            }
            std::this_thread::sleep_for(std::chrono::seconds(2));
            destroyed = true;
            Pyx::AbstractReader::DestroyInstance(handle);
            for (auto& thread : threads)
            {
                thread.join();
            }
        });
    EXPECT_EQ(Pyx::AbstractReader::GetInstance(handle), nullptr);
    handle_ = nullptr;
}

TEST_F(ReaderStressTest, CloseWaitsForOperationsAndStopsPolling)
{
    Open();
    Reader().Init();
    Deliveries deliveries;
    Reader().OnCredentialPresented([&](Pyx::CardData& card) { deliveries.Add(card); }, kLongRead);
    Present(26, 0x42);
    ASSERT_TRUE(WaitUntil([&] { return deliveries.Count() == 1; }));
    WithWatchdog(
        [&]
        {
            std::atomic<bool> closed{false};
            std::atomic<int> refusedAfterClose{0};
            std::vector<std::thread> threads;
            for (int t = 0; t < 3; ++t)
            {
                threads.emplace_back(
                    [&]
                    {
                        while (refusedAfterClose < 20)
                        {
                            const bool wasClosed = closed.load();
                            try
                            {
                                Pyx::CardData card;
                                Reader().GetCardData(card, kLongRead);
                                EXPECT_FALSE(wasClosed);
                            }
                            catch (const Pyx::ReaderException&)
                            {
                                refusedAfterClose += wasClosed ? 1 : 0;
                            }
                        }
                    });
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            Reader().Close();
            closed = true;
            for (auto& thread : threads)
            {
                thread.join();
            }
        });
    const std::size_t readsAfterClose = CardReads();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(CardReads(), readsAfterClose);
}

TEST_F(ReaderStressTest, CardsAreStillReadWhileHostThreadsKeepTheReaderBusy)
{
    Open();
    Reader().Init();
    Deliveries deliveries;
    WithWatchdog(
        [&]
        {
            const OneBusyCore core;
            Reader().OnCredentialPresented([&](Pyx::CardData& card) { deliveries.Add(card); }, kLongRead);
            // A settings tool reading the reader back to back on two threads: each releases the reader and
            // asks for it again at once.
            std::atomic<bool> stop{false};
            std::atomic<int> calls[2] = {0, 0};
            std::vector<std::thread> hosts;
            for (auto& count : calls)
            {
                hosts.emplace_back(
                    [&]
                    {
                        while (!stop)
                        {
                            PyxProtocol::BeepVolume volume{};
                            Reader().GetBeeperVolume(volume);
                            ++count;
                        }
                    });
            }
            // Each thread, the poll thread included, gets the reader within a few turns of the others;
            // one starved gets nothing at all. The bounds leave room for a loaded machine and the
            // sanitizers.
            EXPECT_TRUE(WaitUntil([&] { return calls[0] > 5 && calls[1] > 5; }, std::chrono::seconds(5)))
                << "a host thread never got the reader";
            for (std::uint8_t first : {0x21, 0x22})
            {
                const std::size_t before = deliveries.Count();
                Present(26, first);
                EXPECT_TRUE(WaitUntil([&] { return deliveries.Count() > before; }, std::chrono::seconds(3)))
                    << "card " << int{first} << " not delivered while the host threads ran";
            }
            const int before[2] = {calls[0].load(), calls[1].load()};
            EXPECT_TRUE(WaitUntil([&] { return calls[0] > before[0] && calls[1] > before[1]; },
                                  std::chrono::seconds(5)));
            stop = true;
            for (auto& host : hosts)
            {
                host.join();
            }
        });
    EXPECT_EQ(deliveries.Count(), 2U);
}

TEST_F(ReaderStressTest, CallbacksMayRemoveThemselvesAndDestroyTheirOwnReader)
{
    Open();
    Reader().Init();
    WithWatchdog(
        [&]
        {
            // A callback that unsubscribes itself stops the polling from the dispatch thread.
            std::promise<void> unsubscribed;
            std::atomic<unsigned int> selfId{0};
            std::atomic<int> calls{0};
            selfId = Reader().OnCredentialPresented(
                [&](Pyx::CardData&)
                {
                    if (++calls == 1)
                    {
                        Reader().UnsubscribeCredentialCallback(selfId.load());
                        unsubscribed.set_value();
                    }
                },
                kLongRead);
            Present(26, 0x01);
            unsubscribed.get_future().wait();

            // Subscribing again starts polling again.
            Deliveries deliveries;
            Reader().OnCredentialPresented([&](Pyx::CardData& card) { deliveries.Add(card); }, kLongRead);
            Present(26, 0x02);
            ASSERT_TRUE(WaitUntil([&] { return deliveries.Count() >= 1; }));
            EXPECT_EQ(calls.load(), 1);

            // A callback that destroys its own reader, while a host thread keeps operating on it.
            std::promise<void> destroyedInCallback;
            void* handle = handle_;
            Reader().OnCredentialPresented(
                [&, handle](Pyx::CardData&)
                {
                    if (Pyx::AbstractReader::GetInstance(handle) != nullptr)
                    {
                        Pyx::AbstractReader::DestroyInstance(handle);
                        destroyedInCallback.set_value();
                    }
                },
                kLongRead);
            std::atomic<bool> stop{false};
            std::thread operating(
                [&]
                {
                    while (!stop)
                    {
                        const auto reader = Pyx::AbstractReader::AcquireInstance(handle);
                        if (!reader)
                        {
                            return;
                        }
                        Tolerated(
                            [&]
                            {
                                Pyx::CardData card;
                                static_cast<Pyx::Reader&>(*reader).GetCardData(card, kLongRead);
                            });
                    }
                });
            Present(26, 0x03);
            destroyedInCallback.get_future().wait();
            stop = true;
            operating.join();
            EXPECT_EQ(Pyx::AbstractReader::GetInstance(handle), nullptr);
            handle_ = nullptr;
        });
}
TEST_F(ReaderStressTest, CardsQueuedAtASelfUnsubscribeReachNoLaterCallbackAndDestroyWaitsForEveryThread)
{
    void* handle = Open();
    Reader().Init();
    // What the later callback touches: the host frees it as soon as DestroyInstance returns.
    struct HostContext
    {
        std::atomic<int> running{0};
        std::atomic<int> mostAtOnce{0};
        Deliveries deliveries;
        std::atomic<int> selfUnsubscribedReturned{0};
    };
    auto context = std::make_unique<HostContext>();
    HostContext* host = context.get();
    std::atomic<bool> destroyed{false};
    std::atomic<int> callsAfterDestroy{0};

    WithWatchdog(
        [&]
        {
            std::promise<void> unsubscribed;
            std::promise<void> resubscribed;
            std::shared_future<void> resubscribedSeen = resubscribed.get_future().share();
            std::atomic<unsigned int> selfId{0};
            selfId = Reader().OnCredentialPresented(
                [&, host](Pyx::CardData&)
                {
                    // Two more cards are queued behind this one before it removes itself.
                    for (std::uint8_t next : {0x02, 0x03})
                    {
                        const std::size_t reads = CardReads();
                        Present(26, next);
                        ASSERT_TRUE(WaitUntil([&] { return CardReads() >= reads + 2; }));
                    }
                    Reader().UnsubscribeCredentialCallback(selfId.load());
                    unsubscribed.set_value();
                    resubscribedSeen.wait();
                    // Still returning when the reader is destroyed.
                    std::this_thread::sleep_for(std::chrono::milliseconds(400));
                    ++host->selfUnsubscribedReturned;
                },
                kLongRead);
            Present(26, 0x01);
            unsubscribed.get_future().wait();

            Reader().OnCredentialPresented(
                [host, &destroyed, &callsAfterDestroy](Pyx::CardData& card)
                {
                    if (destroyed)
                    {
                        ++callsAfterDestroy;
                    }
                    const int now = ++host->running;
                    int most = host->mostAtOnce.load();
                    while (now > most && !host->mostAtOnce.compare_exchange_weak(most, now))
                    {
                    }
                    host->deliveries.Add(card);
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    --host->running;
                },
                kLongRead);
            Present(26, 0x04);
            resubscribed.set_value();
            ASSERT_TRUE(WaitUntil([&] { return host->deliveries.Count() >= 1; }));
            Pyx::AbstractReader::DestroyInstance(handle);
            destroyed = true;
            handle_ = nullptr;
        });

    // Only the card presented after the new subscription reaches it, one call at a time.
    std::vector<int> firstBytes;
    for (Pyx::CardData card : context->deliveries.Cards())
    {
        firstBytes.push_back(std::to_integer<int>(card.AsByteArray()[0]));
    }
    EXPECT_EQ(firstBytes, std::vector<int>{0x04});
    EXPECT_EQ(context->mostAtOnce.load(), 1);
    EXPECT_EQ(context->selfUnsubscribedReturned.load(), 1);
    // A thread still delivering now would write to freed memory (AddressSanitizer) or count here.
    context.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(callsAfterDestroy.load(), 0);
}

int FirstByte(Pyx::CardData card)
{
    return std::to_integer<int>(card.AsByteArray()[0]);
}

TEST_F(ReaderStressTest, ACallbackThatStoppedItselfIsNeverOverlappedAndCloseWaitsForIt)
{
    Open();
    Reader().Init();
    auto probe = std::make_unique<CallbackProbe>();
    CallbackProbe* host = probe.get();
    std::atomic<bool> closed{false};
    std::atomic<int> callsAfterClose{0};
    std::atomic<bool> secondReturned{false};
    std::atomic<unsigned int> firstId{0};
    std::atomic<unsigned int> secondId{0};
    std::promise<void> secondStopped;
    // Should the test stop early, no callback outlives what it uses.
    const std::unique_ptr<void, void (*)(void*)> closeAtEnd(handle_, Pyx::AbstractReader::DestroyInstance);

    WithWatchdog(
        [&]
        {
            // Disarmed on a card and re-armed at once, from the callback itself, which then works on while
            // the new subscription's poll queues the next card.
            const auto second = [&, host](Pyx::CardData& card)
            {
                callsAfterClose += closed ? 1 : 0;
                host->Run(card,
                          [&]
                          {
                              if (FirstByte(card) == 0x03)
                              {
                                  Reader().UnsubscribeCredentialCallback(secondId.load());
                                  secondStopped.set_value();
                                  std::this_thread::sleep_for(std::chrono::milliseconds(700));
                                  secondReturned = true;
                              }
                          });
            };
            firstId = Reader().OnCredentialPresented(
                [&, host](Pyx::CardData& card)
                {
                    callsAfterClose += closed ? 1 : 0;
                    host->Run(card,
                              [&]
                              {
                                  Reader().UnsubscribeCredentialCallback(firstId.load());
                                  // Re-armed, and disarmed again while the new run holds a card for
                                  // delivery: that card reaches no callback, and nothing waits for itself.
                                  const unsigned int transient =
                                      Reader().OnCredentialPresented(second, kLongRead);
                                  std::size_t reads = CardReads();
                                  Present(26, 0x02);
                                  ASSERT_TRUE(WaitUntil([&] { return CardReads() >= reads + 2; }));
                                  Reader().UnsubscribeCredentialCallback(transient);
                                  secondId = Reader().OnCredentialPresented(second, kLongRead);
                                  reads = CardReads();
                                  Present(26, 0x04);
                                  ASSERT_TRUE(WaitUntil([&] { return CardReads() >= reads + 2; }));
                                  std::this_thread::sleep_for(std::chrono::milliseconds(700));
                              });
                },
                kLongRead);
            Present(26, 0x01);
            ASSERT_TRUE(WaitUntil([&] { return host->deliveries.Count() >= 2; }));
            ASSERT_EQ(host->mostAtOnce.load(), 1) << "a callback ran beside one that had stopped itself";

            // The second stops itself too and works on; another thread subscribes meanwhile and closes the
            // reader, which returns only once that callback has returned, and frees the profile.
            Present(26, 0x03);
            secondStopped.get_future().wait();
            Reader().OnCredentialPresented([&, host](Pyx::CardData& card)
                                           { host->Run(card, [&] { callsAfterClose += closed ? 1 : 0; }); },
                                           kLongRead);
            const Pyx::ReaderCapabilityProfile& profile = Reader().GetReaderCapabilityProfile();
            Reader().Close();
            closed = true;
            EXPECT_TRUE(secondReturned.load());
#if defined(__SANITIZE_ADDRESS__)
            EXPECT_TRUE(__asan_address_is_poisoned(&profile)) << "Close kept the capability profile";
#else
            static_cast<void>(profile);
#endif
        });
    if (HasFatalFailure())
    {
        return;
    }

    std::vector<int> firstBytes;
    for (const Pyx::CardData& card : probe->deliveries.Cards())
    {
        firstBytes.push_back(FirstByte(card));
    }
    EXPECT_EQ(firstBytes, (std::vector<int>{0x01, 0x04, 0x03}));
    EXPECT_EQ(probe->mostAtOnce.load(), 1);
    probe.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(callsAfterClose.load(), 0);
}

TEST_F(ReaderStressTest, ASecondCloseOfAReaderBeingClosedReturnsOnlyOnceItsCallbackHasReturned)
{
    void* handle = Open();
    Reader().Init();
    auto probe = std::make_unique<CallbackProbe>();
    WithWatchdog(
        [&]
        {
            std::promise<void> entered;
            SubscribeAndPresent(probe.get(),
                                [&]
                                {
                                    entered.set_value();
                                    std::this_thread::sleep_for(std::chrono::milliseconds(600));
                                });
            entered.get_future().wait();
            std::thread first([handle] { Pyx::AbstractReader::DestroyInstance(handle); });
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            Pyx::AbstractReader::DestroyInstance(handle);
            EXPECT_EQ(probe->returned.load(), 1);
            probe.reset();
            first.join();
            handle_ = nullptr;
        });
}

TEST_F(ReaderStressTest, ACloseAfterACallbackClosedItsOwnReaderWaitsForThatCallback)
{
    void* handle = Open();
    Reader().Init();
    auto probe = std::make_unique<CallbackProbe>();
    WithWatchdog(
        [&]
        {
            std::promise<void> closedByCallback;
            SubscribeAndPresent(probe.get(),
                                [&, handle]
                                {
                                    Pyx::AbstractReader::DestroyInstance(handle);
                                    closedByCallback.set_value();
                                    std::this_thread::sleep_for(std::chrono::milliseconds(800));
                                    // Closed again from the callback itself: nothing to wait for.
                                    Pyx::AbstractReader::DestroyInstance(handle);
                                });
            closedByCallback.get_future().wait();
            Pyx::AbstractReader::DestroyInstance(handle);
            EXPECT_EQ(probe->returned.load(), 1);
            probe.reset();
            handle_ = nullptr;
        });
}

TEST_F(ReaderStressTest, ACloseWaitsForACallbackThatAnotherThreadIsJoiningAndForACloseInProgress)
{
    void* handle = Open();
    Reader().Init();
    auto probe = std::make_unique<CallbackProbe>();
    WithWatchdog(
        [&]
        {
            // The last subscription is removed while its callback runs: the unsubscribing thread waits for
            // that callback, and a close on another thread meanwhile must wait for it too.
            std::promise<void> entered;
            const unsigned int id =
                SubscribeAndPresent(probe.get(),
                                    [&]
                                    {
                                        entered.set_value();
                                        std::this_thread::sleep_for(std::chrono::milliseconds(500));
                                    });
            entered.get_future().wait();
            std::thread unsubscribing(
                [reader = Pyx::AbstractReader::AcquireInstance(handle), id]
                { static_cast<Pyx::Reader&>(*reader).UnsubscribeCredentialCallback(id); });
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            Pyx::AbstractReader::DestroyInstance(handle);
            EXPECT_EQ(probe->returned.load(), 1) << "the close returned with the callback still running";
            probe.reset();
            unsubscribing.join();

            // A second close while the first is held up by an operation in progress, with no callback
            // thread left: it returns only once the first has finished.
            handle = Open();
            Reader().Init();
            std::atomic<bool> refreshed{false};
            const std::size_t requests = simulator_.Received(Protocol::SerialBinary).size();
            std::thread refreshing(
                [reader = Pyx::AbstractReader::AcquireInstance(handle), &refreshed]
                {
                    reader->RefreshMetadata();
                    refreshed = true;
                });
            ASSERT_TRUE(
                WaitUntil([&] { return simulator_.Received(Protocol::SerialBinary).size() > requests; }));
            std::thread first([handle] { Pyx::AbstractReader::DestroyInstance(handle); });
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            Pyx::AbstractReader::DestroyInstance(handle);
            EXPECT_TRUE(refreshed.load()) << "the second close returned before the first had finished";
            first.join();
            refreshing.join();
            handle_ = nullptr;
        });
}

TEST_F(ReaderStressTest, AClosedHandleNeverReachesAReaderOpenedLater)
{
    void* closed = Open();
    const Pyx::AbstractReader* closedReader = Pyx::AbstractReader::GetInstance(closed);
    Pyx::AbstractReader::DestroyInstance(closed);
    // Readers opened until one takes the closed reader's memory (soon, outside AddressSanitizer).
    std::vector<void*> handles{closed};
    for (int attempt = 1;; ++attempt)
    {
        void* handle = Open();
        EXPECT_EQ(std::count(handles.begin(), handles.end(), handle), 0) << "a handle was given twice";
        handles.push_back(handle);
        if (Pyx::AbstractReader::GetInstance(handle) == closedReader || attempt == 64)
        {
            break;
        }
        Pyx::AbstractReader::DestroyInstance(handle);
    }
    // The old handle is closed again, as a callback or a second close would: the later reader stays open.
    Pyx::AbstractReader::DestroyInstance(closed);
    EXPECT_EQ(Pyx::AbstractReader::GetInstance(closed), nullptr);
    ASSERT_NE(Pyx::AbstractReader::GetInstance(handle_), nullptr);
    Reader().Init();
    PyxProtocol::BeepVolume volume{};
    EXPECT_NO_THROW(Reader().GetBeeperVolume(volume));
}

TEST_F(ReaderStressTest, ReadersWhoseCallbacksUnsubscribeEachOtherDoNotWaitForEachOther)
{
    ReaderSimulator otherSimulator;
    PyxTest::Sim::SimulatedSerialReader otherSerial{otherSimulator};
    void* handles[2] = {Open(), Pyx::AbstractReader::CreateReaderInstance(otherSerial.Definition(), 1)};
    ASSERT_NE(handles[1], nullptr);
    Pyx::Reader* readers[2];
    for (int r = 0; r < 2; ++r)
    {
        readers[r] = static_cast<Pyx::Reader*>(Pyx::AbstractReader::GetInstance(handles[r]));
        readers[r]->Init();
    }
    auto probe = std::make_unique<CallbackProbe>();
    std::atomic<unsigned int> ids[2] = {0, 0};
    std::atomic<int> unsubscribed{0};
    std::latch bothIn(2);
    WithWatchdog(
        [&]
        {
            // Each reader's callback disarms the other reader at the same moment, then works on.
            for (int r = 0; r < 2; ++r)
            {
                ids[r] = readers[r]->OnCredentialPresented(
                    [&, host = probe.get(), other = 1 - r](Pyx::CardData& card)
                    {
                        host->Run(card,
                                  [&]
                                  {
                                      bothIn.arrive_and_wait();
                                      readers[other]->UnsubscribeCredentialCallback(ids[other].load());
                                      ++unsubscribed;
                                      std::this_thread::sleep_for(std::chrono::milliseconds(300));
                                  });
                    },
                    kLongRead);
            }
            Present(26, 0x01);
            otherSimulator.Update(
                [](PyxTest::Sim::ReaderModel& model) {
                    model.card.presented = PyxTest::Sim::CardSection::Card{26, {0x02}};
                });
            // Readers that wait for each other never get here: the watchdog ends the run.
            while (unsubscribed < 2)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            // Each close waits for its reader's callback, handed over by the other reader's.
            for (void* handle : handles)
            {
                Pyx::AbstractReader::DestroyInstance(handle);
            }
            EXPECT_EQ(probe->returned.load(), 2);
            probe.reset();
            handle_ = nullptr;
        },
        std::chrono::seconds(20));
}

// The child's part of the test below: a reader whose callback runs when the process exits.
constexpr const char* kExitChildVariable = "PYX_EXIT_CHILD";

[[noreturn]] void ExitWhileACallbackRuns(void* handle, bool fromCallback)
{
    auto& reader = static_cast<Pyx::Reader&>(*Pyx::AbstractReader::GetInstance(handle));
    reader.Init();
    std::promise<void> entered;
    reader.OnCredentialPresented(
        [&, fromCallback](Pyx::CardData&)
        {
            if (fromCallback)
            {
                std::exit(0);
            }
            entered.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        },
        kLongRead);
    if (fromCallback)
    {
        // A host whose main thread waits for ever.
        std::promise<void>().get_future().wait();
    }
    entered.get_future().wait();
    std::exit(0);
}

TEST_F(ReaderStressTest, ExitFromACallbackOrWhileOneRunsEndsTheProcess)
{
    if (const char* mode = std::getenv(kExitChildVariable); mode != nullptr)
    {
        void* handle = Open();
        Present(26, 0x01);
        ExitWhileACallbackRuns(handle, std::string(mode) == "callback");
    }
    for (const std::string mode : {"callback", "main"})
    {
        const std::string exe = "/proc/" + std::to_string(::getpid()) + "/exe";
        std::string filter = "--gtest_filter=ReaderStressTest.ExitFromACallbackOrWhileOneRunsEndsTheProcess";
        std::vector<std::string> environment{std::string(kExitChildVariable) + "=" + mode};
        for (char** entry = environ; *entry != nullptr; ++entry)
        {
            environment.emplace_back(*entry);
        }
        std::vector<char*> envp;
        for (auto& entry : environment)
        {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(exe.c_str()), filter.data(), nullptr};
        pid_t child = 0;
        ASSERT_EQ(::posix_spawn(&child, exe.c_str(), nullptr, nullptr, argv, envp.data()), 0);

        // Start-up, the reader's opening and a sanitizer's exit included: a hang never ends.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (ended == 0)
        {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            ADD_FAILURE() << "exit " << mode << ": the process did not end";
            continue;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "exit " << mode << ": status " << status;
    }
}
} // namespace
} // namespace PyxReaderTest
