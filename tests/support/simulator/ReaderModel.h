#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace PyxTest::Sim
{
// What one simulated reader holds, whatever protocol it speaks. Each command family keeps its state in a
// section of its own; a new family adds its section struct here and a member to ReaderModel, and nothing
// else in this file changes.

// Beeper: the volume the reader keeps, and every beep it actually sounded.
struct BeeperSection
{
    struct Beep
    {
        std::uint8_t count = 0;
        bool longBeep = false;
        bool operator==(const Beep&) const = default;
    };

    std::uint8_t volume = 2; // 0 to 3
    std::vector<Beep> beeps; // in the order sounded; refused requests leave no entry
};

// Credentials: the card in front of the reader and the reader's queue of card identifiers.
struct CardSection
{
    struct Card
    {
        std::uint8_t bitCount = 0;
        std::array<std::uint8_t, 32> data{}; // the short read sends bytes 0-7, the long read all 32
    };

    struct QueuedId
    {
        std::array<std::uint8_t, 32> data{};
        std::uint16_t field16 = 0;
        std::uint8_t fieldA = 0;
        std::uint8_t fieldB = 0;
        std::uint8_t fieldC = 0;
    };

    std::optional<Card> presented; // nothing: no card, reported with bit count 0 (or NO_CARD on serial)
    // A queued-id read reports the head entry (all zero when the queue is empty); its last phrase removes
    // the head, so consecutive reads walk the queue.
    std::deque<QueuedId> queuedIds;
    std::vector<std::uint8_t> queuedIdFlags; // the flag byte of every completed queued-id read
};

// Configurations: the reader's stored configurations, each five 8-byte blocks, and the one it works from.
// Block reads and writes act on the active configuration; copies move whole configurations between
// locations, location 0 (RAM) being the active configuration.
struct ConfigurationSection
{
    using Block = std::array<std::uint8_t, 8>;
    using Blocks = std::array<Block, 5>;

    struct Copy
    {
        std::uint8_t source = 0;
        std::uint8_t destination = 0;
        std::uint8_t extra1 = 0;
        std::uint8_t extra2 = 0;
        bool operator==(const Copy&) const = default;
    };

    std::uint8_t active = 0;
    std::array<Blocks, 4> configurations{}; // by number; the reader reports their count
    std::array<Blocks, 3> locations{};      // copy locations 1, 2 and 3 (the factory defaults)
    Blocks storedDefaults{};                // what a load of the stored defaults puts in the active one
    std::uint16_t field16 = 0x1234;         // passed through by the active-configuration read
    std::uint8_t field8 = 0x07;
    std::vector<bool> writes; // every store of the working configuration: with the LUID?
    std::size_t defaultLoads = 0;
    std::vector<Copy> copies; // every copy the reader carried out
};

struct ReaderModel
{
    BeeperSection beeper;
    CardSection card;
    ConfigurationSection configuration;
};
} // namespace PyxTest::Sim
