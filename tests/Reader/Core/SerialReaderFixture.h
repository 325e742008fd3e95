#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include "Reader/Reader.h"
#include "SimulatedReaders.h"

// A reader opened through libVelmora.so on a simulated SerialBinary reader behind a pseudo-terminal.
namespace PyxReaderTest
{
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;
using PyxTest::Sim::ReaderSimulator;

// The SerialBinary card read (instruction 0x00), as the simulator sees it.
inline const PyxTest::Sim::Bytes kCardReadRequest{0xFA, 0x00};

class SerialReaderTest : public ::testing::Test
{
protected:
    void TearDown() override { Pyx::AbstractReader::DestroyInstance(handle_); }

    void* Open()
    {
        handle_ = Pyx::AbstractReader::CreateReaderInstance(serial_.Definition(), 1);
        return handle_;
    }
    Pyx::Reader& Reader() { return static_cast<Pyx::Reader&>(*Pyx::AbstractReader::GetInstance(handle_)); }

    void Present(std::uint8_t bitCount, std::uint8_t firstByte)
    {
        simulator_.Update(
            [&](ReaderModel& model)
            {
                PyxTest::Sim::CardSection::Card card;
                card.bitCount = bitCount;
                card.data[0] = firstByte;
                model.card.presented = card;
            });
    }
    std::size_t CardReads() const
    {
        std::size_t reads = 0;
        for (const auto& request : simulator_.Received(Protocol::SerialBinary))
        {
            reads += request.size() >= 2 && request[0] == 0xFA && request[1] == 0x00 ? 1 : 0;
        }
        return reads;
    }
    // Waits (generously) until `done` holds; false on time-out.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds timeout = std::chrono::seconds(20))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done())
        {
            if (std::chrono::steady_clock::now() > deadline)
            {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    ReaderSimulator simulator_;
    PyxTest::Sim::SimulatedSerialReader serial_{simulator_};
    void* handle_ = nullptr;
};

// Cards a callback received, safe to read from the test's thread.
class Deliveries
{
public:
    void Add(const Pyx::CardData& card)
    {
        std::lock_guard lock(mutex_);
        cards_.push_back(card);
    }
    std::vector<Pyx::CardData> Cards() const
    {
        std::lock_guard lock(mutex_);
        return cards_;
    }
    std::size_t Count() const { return Cards().size(); }

private:
    mutable std::mutex mutex_;
    std::vector<Pyx::CardData> cards_;
};
} // namespace PyxReaderTest
