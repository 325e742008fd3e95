#include <atomic>
#include <stdexcept>
#include <thread>

#include "SerialReaderFixture.h"

namespace PyxReaderTest
{
namespace
{
using PyxTest::Sim::Fault;
constexpr auto kLongRead = PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES;

using CredentialDeliveryTest = SerialReaderTest;

TEST_F(CredentialDeliveryTest, ACardIsDeliveredOnceToEveryCallbackAndAgainAfterAFailedRead)
{
    Open();
    std::atomic<int> throwingCalls{0};
    Deliveries deliveries;
    const unsigned int throwing = Reader().OnCredentialPresented(
        [&](Pyx::CardData&)
        {
            ++throwingCalls;
            throw std::runtime_error("callback failure");
        },
        kLongRead);
    const unsigned int recording =
        Reader().OnCredentialPresented([&](Pyx::CardData& card) { deliveries.Add(card); }, kLongRead);
    EXPECT_NE(throwing, 0u);
    EXPECT_NE(recording, 0u);
    EXPECT_NE(throwing, recording);

    // Subscribing before Init polls nothing.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(CardReads(), 0u);

    Present(26, 0xA5);
    Reader().Init();
    ASSERT_TRUE(WaitUntil([&] { return deliveries.Count() == 1; }));
    const Pyx::CardData card = deliveries.Cards()[0];
    EXPECT_EQ(card.GetBitCount(), 26u);
    EXPECT_EQ(std::to_integer<int>(const_cast<Pyx::CardData&>(card).AsByteArray()[0]), 0xA5);

    // Held on the reader through several more polls: not delivered again.
    const std::size_t readsSoFar = CardReads();
    ASSERT_TRUE(WaitUntil([&] { return CardReads() >= readsSoFar + 3; }));
    EXPECT_EQ(deliveries.Count(), 1u);
    EXPECT_EQ(throwingCalls.load(), 1);

    // One read that fails makes the same card new again.
    simulator_.Arm(Fault::Status(kCardReadRequest, 0x6B, 0x00));
    ASSERT_TRUE(WaitUntil([&] { return deliveries.Count() == 2; }));
    EXPECT_FALSE(simulator_.FaultsPending());
    EXPECT_EQ(throwingCalls.load(), 2);

    // Taken away and presented again without another card between: nothing new.
    simulator_.Update([](ReaderModel& model) { model.card.presented.reset(); });
    const std::size_t readsWithoutCard = CardReads();
    ASSERT_TRUE(WaitUntil([&] { return CardReads() >= readsWithoutCard + 2; }));
    Present(26, 0xA5);
    const std::size_t readsWithCard = CardReads();
    ASSERT_TRUE(WaitUntil([&] { return CardReads() >= readsWithCard + 2; }));
    EXPECT_EQ(deliveries.Count(), 2u);

    // Unsubscribing an unknown id changes nothing; the last subscription stops the polling.
    Reader().UnsubscribeCredentialCallback(recording + 1000);
    Reader().UnsubscribeCredentialCallback(throwing);
    Present(8, 0x11);
    ASSERT_TRUE(WaitUntil([&] { return deliveries.Count() == 3; }));
    Reader().UnsubscribeCredentialCallback(recording);
    const std::size_t readsAtStop = CardReads();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(CardReads(), readsAtStop);
}

TEST_F(CredentialDeliveryTest, SubscriptionIdsAreUniqueAcrossReadersAndNeverZero)
{
    Open();
    ReaderSimulator otherSimulator;
    PyxTest::Sim::SimulatedSerialReader otherSerial(otherSimulator);
    void* other = Pyx::AbstractReader::CreateReaderInstance(otherSerial.Definition(), 1);
    auto& otherReader = static_cast<Pyx::Reader&>(*Pyx::AbstractReader::GetInstance(other));
    const unsigned int first = Reader().OnCredentialPresented([](Pyx::CardData&) {}, kLongRead);
    const unsigned int second = Reader().OnCredentialPresented([](Pyx::CardData&) {}, kLongRead);
    const unsigned int third = otherReader.OnCredentialPresented([](Pyx::CardData&) {}, kLongRead);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, first);
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
    Pyx::AbstractReader::DestroyInstance(other);
}
} // namespace
} // namespace PyxReaderTest
