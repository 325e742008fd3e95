#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "OperationsFixture.h"

// Composite operations of one reader on several threads at once, with the credential poll and metadata
// refreshes (which walk the configurations) running too: each sequence sees only the configuration it
// selected. On a SerialBinary reader behind a pseudo-terminal.
namespace PyxTest
{
namespace
{
using ConcurrentOperationsTest = OperationsTest;

TEST_F(ConcurrentOperationsTest, CompositeOperationsNeverInterleaveOnOneReader)
{
    Pyx::Reader& reader = Open(Sim::Protocol::SerialBinary);
    // Configuration n shows colour n + 1, so a read of the wrong configuration shows.
    for (std::uint8_t number = 0; number < 4; ++number)
    {
        reader.SetLedConfiguration(number, {static_cast<std::uint8_t>(number + 1), true});
    }
    const unsigned subscription = reader.OnCredentialPresented(
        [](Pyx::CardData&) {}, PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);

    constexpr int kRounds = 8;
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (std::uint8_t number = 0; number < 4; ++number)
    {
        threads.emplace_back(
            [&, number]
            {
                for (int round = 0; round < kRounds; ++round)
                {
                    Pyx::LedConfiguration led;
                    reader.GetLedConfiguration(number, led);
                    if (led.LedColor != number + 1)
                    {
                        ++mismatches;
                    }
                    // A write of the same value, so every round also selects, reads and writes.
                    reader.SetLedConfiguration(number, led);
                }
            });
    }
    threads.emplace_back(
        [&]
        {
            for (int round = 0; round < kRounds; ++round)
            {
                reader.RefreshMetadata();
            }
        });
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    reader.UnsubscribeCredentialCallback(subscription);
    EXPECT_EQ(mismatches.load(), 0);
    for (std::uint8_t number = 0; number < 4; ++number)
    {
        Pyx::LedConfiguration led;
        reader.GetLedConfiguration(number, led);
        EXPECT_EQ(led.LedColor, number + 1) << int(number);
    }
}
} // namespace
} // namespace PyxTest
