// Serves the reader simulator as a SerialBinary reader on a pseudo-terminal, so the demo (and anyone trying
// the library without a reader) has a serial port to open.
//
// Prints the port's path as its first line on standard output, then presents a few cards in turn, each held
// in front of the reader for a moment and then taken away. It serves until standard input ends (the
// parent that started it exits or closes the pipe) or it receives SIGINT or SIGTERM.

#include <algorithm>
#include <array>
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

#include "Configuration/ReaderConfiguration.h"
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

std::array<std::uint8_t, 8> Image(const std::vector<std::uint8_t>& bytes)
{
    std::array<std::uint8_t, 8> image{};
    std::copy_n(bytes.begin(), image.size(), image.begin());
    return image;
}

// A reader that starts from settings a desk-top reader ships with, rather than all zeros: 26-bit cards,
// a carriage return after each, 100 ms data hold, 20 ms key press and release, beep on read.
PyxTest::Sim::ReaderModel DemoModel()
{
    PyxTest::Sim::ReaderModel model;
    model.identity.partNumber = "DSK-1100-SIM";
    model.identity.strings[4] = "Firmware 3.1.4";

    PyxProtocol::ReaderConfiguration blocks{};
    blocks.Block1.IdBitCount = 26;
    blocks.Block1.ExpectedBitCount = 26;
    blocks.Block1.TerminationCharacter = 0x0D;
    blocks.Block2.DataHoldTime = 2;
    blocks.Block2.KeyPressTime = 5;
    blocks.Block2.KeyReleaseTime = 5;
    blocks.Block2.___ = 1;
    blocks.Block3.BeepIdValid = 1;
    blocks.Block5.CardType = 0x0206;
    for (auto& configuration : model.configuration.configurations)
    {
        configuration = {Image(PyxProtocol::ReaderConfigurationBlock1::ToVector(blocks.Block1)),
                         Image(PyxProtocol::ReaderConfigurationBlock2::ToVector(blocks.Block2)),
                         Image(PyxProtocol::ReaderConfigurationBlock3::ToVector(blocks.Block3)),
                         Image(PyxProtocol::ReaderConfigurationBlock4::ToVector(blocks.Block4)),
                         Image(PyxProtocol::ReaderConfigurationBlock5::ToVector(blocks.Block5))};
    }
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
