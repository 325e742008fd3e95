// Idle credential polling: one initialised reader on a simulated SerialBinary reader (pseudo-terminal, real
// serial transport) with one subscribed callback and no card. Prints the process CPU time per second of wall
// time while it polls, against the same reader open without a subscriber; the difference is the polling's
// own cost (the simulated reader answering in this process is part of both figures' polling share).
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "Reader/Reader.h"
#include "SimulatedReaders.h"

namespace
{
double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Process CPU seconds per wall-clock second over `duration`.
double CpuShare(std::chrono::seconds duration)
{
    const double cpuBefore = ProcessCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(duration);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    return (ProcessCpuSeconds() - cpuBefore) / wall;
}
} // namespace

int main()
{
    constexpr std::chrono::seconds kDuration{5};
    PyxTest::Sim::ReaderSimulator simulator;
    PyxTest::Sim::SimulatedSerialReader serial(simulator);
    void* handle = Pyx::AbstractReader::CreateReaderInstance(serial.Definition(), 1);
    auto& reader = static_cast<Pyx::Reader&>(*Pyx::AbstractReader::GetInstance(handle));
    reader.Init();

    const double idle = CpuShare(kDuration);
    reader.OnCredentialPresented([](Pyx::CardData&) {},
                                 PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double polling = CpuShare(kDuration);
    Pyx::AbstractReader::DestroyInstance(handle);

    std::printf("reader open, no subscriber: %.3f%% of one core\n", idle * 100.0);
    std::printf("reader polling, no card:    %.3f%% of one core\n", polling * 100.0);
    std::printf("polling cost per reader:    %.3f%% of one core (goal: under 1%%)\n",
                (polling - idle) * 100.0);
    return 0;
}
