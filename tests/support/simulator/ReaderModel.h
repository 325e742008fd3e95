#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
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

// Identification: serial number, part number, indexed strings, modules and the local identifier.
struct IdentitySection
{
    std::string esn = "ESN-0123456789"; // up to 32 characters (40 on the serial line)
    std::string partNumber = "PN-4711"; // up to 20 characters (24 on the binary protocols)
    // Strings 1 to 8; an absent one is refused on the serial line and reads as empty elsewhere.
    std::map<std::uint8_t, std::string> strings{{1, "Simulated"}, {7, "Firmware 1.2.3"}};
    std::uint16_t supportMask = 0x0107; // modules supported, bit n for module n
    std::uint8_t installedMask = 0x05;  // modules installed
    std::uint16_t luidA = 0x0102;       // set by SetLuid
    std::uint16_t luidB = 0x0304;
    std::uint32_t luid32 = 0x05060708;
};

// Firmware versions by module class and type, as the four version bytes the reader sends (reply bytes
// 4-7); the Mfp24 Bluetooth answer carries eight characters of its own.
struct FirmwareSection
{
    std::map<std::pair<std::uint8_t, std::uint8_t>, std::array<std::uint8_t, 4>> versions{
        {{0x00, 0x00}, {0x04, 0x03, 0x02, 0x01}},
        {{0x01, 0x00}, {0x10, 0x20, 0x30, 0x40}},
        {{0x02, 0x00}, {0x05, 0x07, 0x01, 0x2C}},
        {{0x04, 0x00}, {0xA1, 0xA2, 0xA3, 0xA4}},
    };
    std::string bluetoothMfp24 = "12345678";
};

// The card-type codes the reader can read, in its order (no zero code). All of them are in the library's
// card-type catalogue, as a real reader's are, so that a program tried against the simulated reader resolves
// them; a test that needs an untracked code sets it.
struct SupportedCardsSection
{
    std::vector<std::uint16_t> codes{0xEF04, 0x7F01, 0xFB02, 0x0101, 0x8501};
};

// Transparent mode, card analyzer and module states.
struct ControlSection
{
    bool transparentModeSupported = true; // otherwise the reader answers eight zero bytes
    std::uint8_t transparentStatus = 2;
    std::uint8_t transparentState = 0; // 1 while transparent mode is on
    std::uint8_t analyzerA = 0x11;
    std::uint8_t analyzerB = 0x22;
    std::map<std::uint8_t, std::uint8_t> moduleStates{{1, 1}, {3, 2}}; // unknown modules are refused
};

// Smart-card blobs and BLE data. Both travel as numbered 4-byte phrases of the 0x89 family, so the header or
// setup phrase that opens a transfer decides what the numbered phrases after it mean.
struct BlobSection
{
    struct BlobWrite
    {
        std::array<std::uint8_t, 4> header{}; // blob type, second byte, low byte of the length, fifth byte
        std::vector<std::uint8_t> data;       // as received, padding included
        bool operator==(const BlobWrite&) const = default;
    };

    enum class Transfer
    {
        None,
        BlobRead,
        BlobWrite,
        BleRead,
        BleWrite,
    };

    std::map<std::uint8_t, std::vector<std::uint8_t>> blobs; // data by blob type; zeros past the end
    std::vector<BlobWrite> blobWrites;                       // every completed blob write

    std::array<std::uint8_t, 384> bleData{};       // sections 0, 1 and 2
    std::array<std::uint8_t, 128> bleKey{};        // section 16
    std::array<std::uint8_t, 16> unencryptedKey{}; // section 4, which can only be written
    std::vector<std::uint8_t> storedSections;      // every BLE section stored, in order
    bool bleModule = true;     // without one, BLE phrases are answered with zeros, like an unknown command
    std::size_t busyPolls = 0; // busy answers of every poll loop before it reports ready
    std::deque<std::uint8_t> pollCodes;   // answered to the next polls, ahead of busy and ready
    std::deque<std::uint8_t> phraseCodes; // answered to the next BLE phrases that are not polls

    // The transfer in progress.
    Transfer transfer = Transfer::None;
    std::array<std::uint8_t, 4> blobHeader{};
    std::uint8_t section = 0;
    std::vector<std::uint8_t> pending; // data of a write not stored yet
    std::size_t busyLeft = 0;
};

// The extended (field and separator) configuration: the 128-byte block and the two hash values written with
// it. A new reader holds a valid configuration without entries.
struct ExtendedConfigurationSection
{
    std::array<std::uint8_t, 128> block = []
    {
        std::array<std::uint8_t, 128> empty{};
        empty.fill(0xFF);
        empty[0] = 0x14;
        empty[1] = 0x40;
        empty[2] = 0x20;
        empty[3] = 0x10;
        empty[126] = 0x00;
        empty[127] = 0x00;
        return empty;
    }();
    std::array<std::uint8_t, 16> hashValue1{};
    std::array<std::uint8_t, 16> hashValue2{};
    std::size_t hashWrites = 0; // hash chunks (FeatureReport) or values (SerialBinary) received
};

struct ReaderModel
{
    BeeperSection beeper;
    CardSection card;
    ConfigurationSection configuration;
    IdentitySection identity;
    FirmwareSection firmware;
    SupportedCardsSection supportedCards;
    ControlSection control;
    BlobSection blob;
    ExtendedConfigurationSection extendedConfiguration;
};
} // namespace PyxTest::Sim
