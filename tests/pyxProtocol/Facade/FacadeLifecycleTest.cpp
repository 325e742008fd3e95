// Creation, look-up and destruction of facades: the failure records of creation, what a failed creation
// leaves behind, and destruction racing the operations of other threads.
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
#include "SimulatedFacadeTest.h"
#include "TransportException.h"

namespace PyxFacadeTest
{
namespace
{
using PyxProtocol::ProtocolFacade;
using PyxTest::ScriptedTransport;

PyxCommon::ReaderDefinition DefinitionOf(ProtocolType type)
{
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = type;
    return definition;
}

// A scripted transport that says when it is gone.
class WatchedTransport : public ScriptedTransport
{
public:
    explicit WatchedTransport(std::shared_ptr<std::atomic<bool>> gone) : gone_(std::move(gone))
    {
        GenerateReplies([](const PyxTransport::TransportPacket& packet) { return packet.Data; });
    }
    ~WatchedTransport() override { *gone_ = true; }

private:
    std::shared_ptr<std::atomic<bool>> gone_;
};

ProtocolFacade::Seams SeamsMaking(std::function<std::unique_ptr<PyxTransport::Transport>()> make)
{
    ProtocolFacade::Seams seams;
    seams.MakeTransport = [make](const PyxCommon::ReaderDefinition&) { return make(); };
    return seams;
}

struct Creation
{
    ProtocolFacade::Handle handle;
    ProtocolCommandResult result;
};

Creation Create(const ProtocolFacade::Seams& seams, ProtocolType type = ProtocolType::FeatureReport,
                int retryCount = 1)
{
    Creation creation{};
    creation.handle = ProtocolFacade::CreateInstance(DefinitionOf(type), retryCount, &creation.result, seams);
    return creation;
}

TEST(FacadeCreation, InvalidProtocolTypeReportsTheLibraryFailure)
{
    const Creation creation = Create(ProtocolFacade::Seams{}, ProtocolType::Dummy);
    EXPECT_EQ(creation.handle, 0u);
    EXPECT_TRUE(creation.result.HasException);
    EXPECT_STREQ(creation.result.ExceptionType, "TessmarException");
    EXPECT_STREQ(creation.result.Message,
                 "Unable to initialize an underlying protocol object given invalid type Dummy");
    EXPECT_STREQ(creation.result.FileName, "ProtocolFactory.cpp");
    EXPECT_GT(creation.result.LineNumber, 0);

    // Without a record the outcome is the same, only unreported.
    EXPECT_EQ(ProtocolFacade::CreateInstance(DefinitionOf(ProtocolType::Dummy), 1, nullptr), 0u);
}

TEST(FacadeCreation, EachFailureClassHasItsRecordAndLeavesNoTransportOpen)
{
    struct Case
    {
        std::string name;
        std::function<void()> fail;
        const char* type;
        std::string message;
    };
    const std::vector<Case> cases{
        {"runtime error", [] { throw std::runtime_error("no device"); }, "StdRuntimeError",
         "Failed to create protocol instance: no device"},
        {"other standard exception", [] { throw std::logic_error("odd"); }, "StdException",
         "Failed to create protocol instance: odd"},
        {"anything else", [] { throw 42; }, "UnknownException",
         "Failed to create protocol instance: Unknown exception (not derived from std::exception)"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto gone = std::make_shared<std::atomic<bool>>(false);
        // The transport is made, then fails while it connects.
        class FailingInit : public WatchedTransport
        {
        public:
            FailingInit(std::shared_ptr<std::atomic<bool>> gone, std::function<void()> fail)
                : WatchedTransport(std::move(gone)), fail_(std::move(fail))
            {
            }
            void init(std::uint32_t) override { fail_(); }

        private:
            std::function<void()> fail_;
        };
        const Creation creation =
            Create(SeamsMaking([&] { return std::make_unique<FailingInit>(gone, c.fail); }));
        EXPECT_EQ(creation.handle, 0u);
        EXPECT_TRUE(creation.result.HasException);
        EXPECT_STREQ(creation.result.ExceptionType, c.type);
        EXPECT_EQ(std::string(creation.result.Message), c.message);
        // Only the library's own failures carry an origin.
        EXPECT_STREQ(creation.result.FileName, "");
        EXPECT_EQ(creation.result.LineNumber, 0);
        EXPECT_TRUE(*gone);
    }
}

TEST(FacadeCreation, TransportFailureCarriesItsOriginAndClosesTheTransport)
{
    auto gone = std::make_shared<std::atomic<bool>>(false);
    const Creation creation = Create(SeamsMaking(
        [&]
        {
            auto transport = std::make_unique<WatchedTransport>(gone);
            transport->FailOn(ScriptedTransport::Operation::Init, 1,
                              ScriptedTransport::Failure::TransportException,
                              "Unable to connect to the reader after 3 attempts");
            return transport;
        }));
    EXPECT_EQ(creation.handle, 0u);
    EXPECT_STREQ(creation.result.ExceptionType, "TessmarException");
    EXPECT_STREQ(creation.result.Message, "Unable to connect to the reader after 3 attempts");
    EXPECT_STRNE(creation.result.FileName, "");
    EXPECT_STRNE(creation.result.FunctionName, "");
    EXPECT_TRUE(*gone);
}

TEST(FacadeCreation, MissingTransportIsAnInitializationFailure)
{
    const Creation creation = Create(SeamsMaking([] { return nullptr; }));
    EXPECT_EQ(creation.handle, 0u);
    EXPECT_STREQ(creation.result.ExceptionType, "InitializationException");
    EXPECT_STREQ(creation.result.Message, "Failed to create protocol or transport");
}

TEST(FacadeCreation, NegativeRetryCountMakesNoAttempts)
{
    ScriptedTransport* transport = nullptr;
    const Creation creation = Create(SeamsMaking(
                                         [&]
                                         {
                                             auto made = std::make_unique<ScriptedTransport>();
                                             transport = made.get();
                                             return made;
                                         }),
                                     ProtocolType::FeatureReport, -5);
    ASSERT_NE(creation.handle, 0u);
    EXPECT_EQ(transport->Calls().at(0).retryCount, 0u);
    ProtocolFacade::DestroyInstance(creation.handle);
}

TEST(FacadeRegistry, HandleIsTheFacadeAndDiesWithIt)
{
    auto gone = std::make_shared<std::atomic<bool>>(false);
    const Creation creation = Create(SeamsMaking([&] { return std::make_unique<WatchedTransport>(gone); }));
    ASSERT_NE(creation.handle, 0u);
    EXPECT_FALSE(creation.result.HasException);
    const auto facade = ProtocolFacade::GetInstance(creation.handle);
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(facade.get()), creation.handle);
    EXPECT_EQ(ProtocolFacade::GetInstance(0), nullptr);

    ProtocolFacade::DestroyInstance(creation.handle);
    EXPECT_TRUE(*gone);
    EXPECT_EQ(ProtocolFacade::GetInstance(creation.handle), nullptr);
    ProtocolFacade::DestroyInstance(creation.handle);
    ProtocolFacade::DestroyInstance(0);
    // The caller's pointer still leads to a valid object that refuses to work.
    try
    {
        facade->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT);
        ADD_FAILURE() << "an operation ran on a destroyed facade";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "ProtocolFacade instance is being destroyed");
    }
}

// A transport whose first send blocks until the test opens the gate.
class GatedTransport : public WatchedTransport
{
public:
    struct Gate
    {
        std::mutex mutex;
        std::condition_variable changed;
        bool entered = false;
        bool open = false;
    };

    GatedTransport(std::shared_ptr<std::atomic<bool>> gone, std::shared_ptr<Gate> gate)
        : WatchedTransport(std::move(gone)), gate_(std::move(gate))
    {
    }
    void transmit(const PyxTransport::TransportPacket& packet) override
    {
        {
            std::unique_lock lock(gate_->mutex);
            gate_->entered = true;
            gate_->changed.notify_all();
            gate_->changed.wait(lock, [&] { return gate_->open; });
        }
        WatchedTransport::transmit(packet);
    }

private:
    std::shared_ptr<Gate> gate_;
};

TEST(FacadeDestruction, WaitsForTheRunningOperationAndTurnsAwayTheWaiting)
{
    auto gone = std::make_shared<std::atomic<bool>>(false);
    auto gate = std::make_shared<GatedTransport::Gate>();
    const Creation creation =
        Create(SeamsMaking([&] { return std::make_unique<GatedTransport>(gone, gate); }));
    ASSERT_NE(creation.handle, 0u);
    auto facade = ProtocolFacade::GetInstance(creation.handle);

    std::atomic<bool> runningReturned = false;
    std::thread running(
        [&]
        {
            facade->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT);
            runningReturned = true;
        });
    {
        std::unique_lock lock(gate->mutex);
        gate->changed.wait(lock, [&] { return gate->entered; });
    }
    std::thread destroying([&] { ProtocolFacade::DestroyInstance(creation.handle); });
    while (ProtocolFacade::GetInstance(creation.handle) != nullptr)
    {
        std::this_thread::yield();
    }
    // This one got the facade before the destroy and now queues behind the running operation.
    std::string waiterFailure;
    std::thread waiting(
        [&, held = facade]
        {
            PyxProtocol::LuidResponseInformation information{};
            try
            {
                held->GetLuid(information);
            }
            catch (const std::runtime_error& error)
            {
                waiterFailure = error.what();
            }
        });
    facade.reset();
    EXPECT_FALSE(*gone);
    {
        std::lock_guard lock(gate->mutex);
        gate->open = true;
    }
    gate->changed.notify_all();
    running.join();
    destroying.join();
    waiting.join();

    EXPECT_TRUE(runningReturned);
    EXPECT_TRUE(*gone);
    EXPECT_EQ(waiterFailure, "ProtocolFacade instance is being destroyed");
}

TEST(FacadeDestruction, ConcurrentDestroysCloseTheReaderOnce)
{
    auto gone = std::make_shared<std::atomic<bool>>(false);
    const Creation creation = Create(SeamsMaking([&] { return std::make_unique<WatchedTransport>(gone); }));
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
    {
        threads.emplace_back([&] { ProtocolFacade::DestroyInstance(creation.handle); });
    }
    for (auto& thread : threads)
    {
        thread.join();
    }
    EXPECT_TRUE(*gone);
    EXPECT_EQ(ProtocolFacade::GetInstance(creation.handle), nullptr);
}

// Two readers, each on its own thread and its own facade, both served in full.
TEST(FacadeParallel, TwoReadersWorkAtTheSameTime)
{
    struct Reader
    {
        PyxTest::Sim::ReaderSimulator simulator;
        PyxTest::Sim::SimulatedSerialReader serial{simulator};
        ProtocolFacade::Handle handle = 0;
    };
    Reader readers[2];
    for (Reader& reader : readers)
    {
        ProtocolCommandResult result{};
        reader.handle = ProtocolFacade::CreateInstance(reader.serial.Definition(), 1, &result);
        ASSERT_NE(reader.handle, 0u) << result.Message;
    }
    constexpr int kRounds = 10;
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (Reader& reader : readers)
    {
        threads.emplace_back(
            [&failures, &reader]
            {
                const auto facade = ProtocolFacade::GetInstance(reader.handle);
                for (int round = 0; round < kRounds; ++round)
                {
                    char partNumber[32];
                    failures += facade->GetPartNumber(partNumber, sizeof partNumber).HasException;
                    failures += facade->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT).HasException;
                }
            });
    }
    for (auto& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(failures, 0);
    for (Reader& reader : readers)
    {
        EXPECT_EQ(reader.simulator.Snapshot().beeper.beeps.size(), static_cast<std::size_t>(kRounds));
        ProtocolFacade::DestroyInstance(reader.handle);
    }
}
} // namespace
} // namespace PyxFacadeTest
