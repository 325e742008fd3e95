// Creation, look-up and destruction of facades on scripted transports: the records of failed creations, what
// a failed creation leaves behind, and destruction racing the operations of other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ProtocolFacade.h"
#include "ScriptedTransport.h"
#include "SimulatedReaders.h"
#include "TransportException.h"

namespace
{
using PyxProtocol::ProtocolFacade;
using PyxTest::ScriptedTransport;

// A scripted transport that echoes every request, says when it is gone, and can be held inside its first send
// until the test opens the gate.
class WatchedTransport : public ScriptedTransport
{
public:
    struct State
    {
        std::atomic<bool> gone = false;
        std::uint32_t retryCount = 0;
        std::function<void()> initFailure;
        bool gated = false;
        std::mutex mutex;
        std::condition_variable changed;
        bool entered = false;
        bool open = false;
    };

    explicit WatchedTransport(std::shared_ptr<State> state) : state_(std::move(state))
    {
        GenerateReplies([](const PyxTransport::TransportPacket& packet) { return packet.Data; });
    }
    ~WatchedTransport() override { state_->gone = true; }
    void init(std::uint32_t retryCount) override
    {
        state_->retryCount = retryCount;
        if (state_->initFailure)
        {
            state_->initFailure();
        }
    }
    void transmit(const PyxTransport::TransportPacket& packet) override
    {
        std::unique_lock lock(state_->mutex);
        state_->entered = true;
        state_->changed.notify_all();
        state_->changed.wait(lock, [&] { return !state_->gated || state_->open; });
        lock.unlock();
        ScriptedTransport::transmit(packet);
    }

private:
    std::shared_ptr<State> state_;
};

struct Creation
{
    ProtocolFacade::Handle handle = 0;
    ProtocolCommandResult result{};
    std::shared_ptr<WatchedTransport::State> transport = std::make_shared<WatchedTransport::State>();
};

Creation Create(std::function<void()> initFailure = {}, int retryCount = 1, bool gated = false)
{
    Creation creation;
    creation.transport->initFailure = std::move(initFailure);
    creation.transport->gated = gated;
    ProtocolFacade::Seams seams;
    seams.MakeTransport = [state = creation.transport](const PyxCommon::ReaderDefinition&)
    { return std::make_unique<WatchedTransport>(state); };
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = ProtocolType::FeatureReport;
    creation.handle = ProtocolFacade::CreateInstance(definition, retryCount, &creation.result, seams);
    return creation;
}

std::string FailureOf(const std::function<void()>& operation)
{
    try
    {
        operation();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "";
}

TEST(FacadeCreation, EachFailureIsRecordedAndLeavesNothingOpen)
{
    const std::string prefix = "Failed to create protocol instance: ";
    struct Case
    {
        std::function<void()> fail;
        const char* type;
        std::string message;
        bool hasOrigin;
    } cases[] = {
        {[] { throw PyxTransport::TransportException("no reader", "Port.cpp", 12, "Open"); },
         "TessmarException", "no reader", true},
        {[] { throw std::runtime_error("no device"); }, "StdRuntimeError", prefix + "no device", false},
        {[] { throw std::logic_error("odd"); }, "StdException", prefix + "odd", false},
        {[] { throw 42; }, "UnknownException", prefix + "Unknown exception (not derived from std::exception)",
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        const Creation creation = Create(c.fail);
        EXPECT_EQ(creation.handle, 0u);
        EXPECT_TRUE(creation.result.HasException);
        EXPECT_STREQ(creation.result.ExceptionType, c.type);
        EXPECT_EQ(std::string(creation.result.Message), c.message);
        EXPECT_EQ(std::string(creation.result.FileName), c.hasOrigin ? "Port.cpp" : "");
        EXPECT_EQ(creation.result.LineNumber, c.hasOrigin ? 12 : 0);
        // The transport had been made and had connected as far as it could: it is closed again.
        EXPECT_TRUE(creation.transport->gone);
    }

    PyxCommon::ReaderDefinition dummy{};
    dummy.ProtocolType = ProtocolType::Dummy;
    ProtocolCommandResult result{};
    EXPECT_EQ(ProtocolFacade::CreateInstance(dummy, 1, &result), 0u);
    EXPECT_STREQ(result.Message,
                 "Unable to initialize an underlying protocol object given invalid type Dummy");
    EXPECT_EQ(ProtocolFacade::CreateInstance(dummy, 1, nullptr), 0u);

    ProtocolFacade::Seams none;
    none.MakeTransport = [](const PyxCommon::ReaderDefinition&) { return nullptr; };
    EXPECT_EQ(ProtocolFacade::CreateInstance(PyxCommon::ReaderDefinition{{}, ProtocolType::FeatureReport, {}},
                                             1, &result, none),
              0u);
    EXPECT_STREQ(result.ExceptionType, "InitializationException");
    EXPECT_STREQ(result.Message, "Failed to create protocol or transport");
}

TEST(FacadeRegistry, HandleLeadsToTheFacadeUntilItIsDestroyed)
{
    // A negative retry count reaches the transport as no attempts, not as four billion.
    const Creation creation = Create({}, -5);
    ASSERT_NE(creation.handle, 0u);
    EXPECT_EQ(creation.transport->retryCount, 0u);
    EXPECT_FALSE(creation.result.HasException);
    auto facade = ProtocolFacade::GetInstance(creation.handle);
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(facade.get()), creation.handle);
    EXPECT_EQ(ProtocolFacade::GetInstance(0), nullptr);

    ProtocolFacade::DestroyInstance(creation.handle);
    EXPECT_TRUE(creation.transport->gone);
    EXPECT_EQ(ProtocolFacade::GetInstance(creation.handle), nullptr);
    ProtocolFacade::DestroyInstance(creation.handle);
    ProtocolFacade::DestroyInstance(0);
    // A pointer taken before still leads to a valid object, which refuses to work.
    EXPECT_EQ(FailureOf([&] { facade->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT); }),
              "ProtocolFacade instance is being destroyed");
}

TEST(FacadeDestruction, WaitsForTheRunningOperationAndTurnsAwayTheWaiting)
{
    const Creation creation = Create({}, 1, true);
    auto& gate = *creation.transport;
    auto facade = ProtocolFacade::GetInstance(creation.handle);

    std::thread running([facade] { facade->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT); });
    {
        std::unique_lock lock(gate.mutex);
        gate.changed.wait(lock, [&] { return gate.entered; });
    }
    std::thread destroying([&] { ProtocolFacade::DestroyInstance(creation.handle); });
    while (ProtocolFacade::GetInstance(creation.handle) != nullptr)
    {
        std::this_thread::yield();
    }
    // This thread got the facade before the destroy and queues behind the running operation.
    std::string waiterFailure;
    std::thread waiting(
        [&, facade]
        {
            PyxProtocol::LuidResponseInformation information{};
            waiterFailure = FailureOf([&] { facade->GetLuid(information); });
        });
    facade.reset();
    EXPECT_FALSE(gate.gone);
    {
        std::lock_guard lock(gate.mutex);
        gate.open = true;
    }
    gate.changed.notify_all();
    running.join();
    destroying.join();
    waiting.join();

    EXPECT_TRUE(gate.gone);
    EXPECT_EQ(waiterFailure, "ProtocolFacade instance is being destroyed");
}

// Two serial readers, each on its own thread and its own facade, both served in full.
TEST(FacadeParallel, TwoReadersWorkAtTheSameTime)
{
    struct Reader
    {
        PyxTest::Sim::ReaderSimulator simulator;
        PyxTest::Sim::SimulatedSerialReader serial{simulator};
        int failures = 0;
    } readers[2];
    std::vector<std::thread> threads;
    for (Reader& reader : readers)
    {
        const auto handle = ProtocolFacade::CreateInstance(reader.serial.Definition(), 1, nullptr);
        threads.emplace_back(
            [&reader, facade = ProtocolFacade::GetInstance(handle)]
            {
                for (int round = 0; round < 10; ++round)
                {
                    char part[32];
                    reader.failures += facade->GetPartNumber(part, sizeof part).HasException +
                                       facade->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT).HasException;
                }
                ProtocolFacade::DestroyInstance(reinterpret_cast<std::uintptr_t>(facade.get()));
            });
    }
    for (std::size_t i = 0; i < 2; ++i)
    {
        threads[i].join();
        EXPECT_EQ(readers[i].failures, 0);
        EXPECT_EQ(readers[i].simulator.Snapshot().beeper.beeps.size(), 10u);
    }
}
} // namespace
