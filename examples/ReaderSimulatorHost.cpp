// Serves the reader simulator as a SerialBinary reader on a pseudo-terminal, so the demo (and anyone trying
// the library without a reader) has a serial port to open.
//
// Prints the port's path as its first line on standard output, then presents a few cards in turn, each held
// in front of the reader for a moment and then taken away. It serves until standard input ends (the
// parent that started it exits or closes the pipe) or it receives SIGINT or SIGTERM.

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include <poll.h>
#include <unistd.h>

#include "PtyPeer.h"
#include "ReaderSimulator.h"

namespace
{
using PyxTest::Sim::CardSection;

std::atomic<bool> stopRequested{false};

void RequestStop(int)
{
    stopRequested = true;
}

CardSection::Card MakeCard(std::uint8_t bitCount, std::vector<std::uint8_t> bytes)
{
    CardSection::Card card;
    card.bitCount = bitCount;
    for (std::size_t i = 0; i < bytes.size() && i < card.data.size(); ++i)
    {
        card.data[i] = bytes[i];
    }
    return card;
}

// The cards shown in turn, each followed by an empty reader.
std::vector<CardSection::Card> DemoCards()
{
    return {MakeCard(26, {0x02, 0x1D, 0x4C, 0x6A}), MakeCard(35, {0x05, 0xA3, 0x71, 0x0E, 0x40}),
            MakeCard(37, {0x11, 0x22, 0x33, 0x44, 0x50})};
}

// A reader that starts from settings a desk-top reader would ship with, rather than all zeros.
PyxTest::Sim::ReaderModel DemoModel()
{
    PyxTest::Sim::ReaderModel model;
    model.identity.partNumber = "DSK-1100-SIM";
    model.identity.strings[4] = "Firmware 3.1.4";
    return model;
}

// True once standard input has ended, waiting at most `timeout` for it.
bool InputEnded(std::chrono::milliseconds timeout)
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&input, 1, static_cast<int>(timeout.count()));
    if (ready <= 0)
    {
        return false;
    }
    char discard[256];
    return ::read(STDIN_FILENO, discard, sizeof discard) <= 0;
}
} // namespace

int main()
{
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGPIPE, SIG_IGN);

    PyxTest::Sim::ReaderSimulator simulator(DemoModel());
    PyxTest::PtyPeer peer([&simulator](const PyxTest::PtyPeer::Bytes& bytes)
                          { return simulator.SerialBinary().Receive(bytes); });
    // The simulator cuts phrases from the stream itself, so every byte goes to it as soon as it arrives.
    peer.SetFramer([](const PyxTest::PtyPeer::Bytes& pending) { return pending.size(); });

    std::printf("%s\n", peer.SlavePath().c_str());
    std::fflush(stdout);

    // Each card stays long enough for several polls of the reader's owner, then the reader is empty as long.
    constexpr std::chrono::milliseconds kStep{600};
    const std::vector<CardSection::Card> cards = DemoCards();
    std::size_t step = 0;
    while (!stopRequested)
    {
        std::optional<CardSection::Card> presented;
        if (step % 2 == 0)
        {
            presented = cards[(step / 2) % cards.size()];
        }
        simulator.Update([&presented](PyxTest::Sim::ReaderModel& model)
                         { model.card.presented = presented; });
        ++step;
        if (InputEnded(kStep))
        {
            break;
        }
    }
    return 0;
}
