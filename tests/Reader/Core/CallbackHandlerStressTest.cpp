#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "GetCardDataCallbackHandler.h"

// The handler on its own, with a read function that answers at once: many more start and stop races per
// second than a reader on a serial line allows.
namespace
{
TEST(CallbackHandlerStressTest, SubscribersAreNeverLeftWithoutThreadsNorThreadsWithoutSubscribers)
{
    Pyx::GetCardDataCallbackHandler handler;
    std::atomic<unsigned> reads{0};
    const auto read = [&](Pyx::CardData& card)
    {
        card.SetBitCount(++reads % 3 == 0 ? 0 : 26);
        card.AsByteArray()[0] = static_cast<std::byte>(reads.load());
    };
    for (int round = 0; round < 20; ++round)
    {
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
        {
            threads.emplace_back(
                [&, t]
                {
                    for (int i = 0; i < 25; ++i)
                    {
                        // Shared with the callback, which may still run after this loop round ended.
                        auto self = std::make_shared<std::atomic<std::uint32_t>>(0);
                        // Every other subscriber removes itself from the dispatch thread.
                        *self = handler.Subscribe(
                            [&handler, self, t](Pyx::CardData&)
                            {
                                if (t % 2 == 0)
                                {
                                    handler.Unsubscribe(self->load());
                                    handler.StopIfUnsubscribed();
                                }
                            });
                        handler.Start(read);
                        std::this_thread::yield();
                        handler.Unsubscribe(self->load());
                        handler.StopIfUnsubscribed();
                    }
                });
        }
        // One subscriber that stays for the round.
        const std::uint32_t staying = handler.Subscribe([](Pyx::CardData&) {});
        handler.Start(read);
        for (auto& thread : threads)
        {
            thread.join();
        }
        EXPECT_TRUE(handler.IsPolling()) << "round " << round;
        handler.Unsubscribe(staying);
        handler.StopIfUnsubscribed();
        EXPECT_FALSE(handler.HasSubscribers());
        EXPECT_FALSE(handler.IsPolling()) << "round " << round;
    }
    handler.Shutdown();
    handler.Subscribe([](Pyx::CardData&) {});
    handler.Start(read);
    EXPECT_FALSE(handler.IsPolling());
}
} // namespace
