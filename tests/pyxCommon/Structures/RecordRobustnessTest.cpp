#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <typeinfo>
#include <vector>

#include <fmt/format.h>

#include "RecordTestSupport.h"
#include "Structures/BleConfiguration.h"
#include "Structures/ExtendedConfiguration.h"
#include "Structures/SmartCardConfiguration.h"

// Records decoded from bytes that come from outside (a block a reader sent, memory a host filled) are fed
// random bytes from a fixed seed: every decode ends in a record or a TessmarException, never in a read past
// the bytes, and what was decoded can be checked and encoded again.
namespace
{
using namespace PyxCommon;
using PyxTest::Bytes;
using PyxTest::FromImage;

constexpr int kRuns = 2000;

// Draws from the generator's raw output, so a seed names the same bytes with every standard library.
class RandomBytes
{
public:
    explicit RandomBytes(std::uint32_t seed) : random_(seed) {}

    std::size_t Pick(std::size_t count) { return random_() % count; }
    Bytes Next(std::size_t length)
    {
        Bytes bytes(length);
        for (auto& byte : bytes)
        {
            byte = static_cast<std::uint8_t>(random_());
        }
        return bytes;
    }

private:
    std::mt19937 random_;
};

// "" when `action` returns or refuses with the library's own error; otherwise what else escaped it.
std::string FaultOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const TessmarException&)
    {
    }
    catch (const std::exception& e)
    {
        return fmt::format("{}: {}", typeid(e).name(), e.what());
    }
    catch (...)
    {
        return "an exception of no standard type";
    }
    return "";
}

bool Refuses(const std::function<void()>& action)
{
    return PyxTest::FailureOf(action).message != "<no exception>";
}

std::string Hex(const Bytes& bytes)
{
    std::string text;
    for (const auto byte : bytes)
    {
        text += fmt::format("{:02X} ", byte);
    }
    return text;
}

// A block of 128 bytes or of any length up to 200, half of the time behind a header that looks right but
// announces any counts (often small ones), so that entries and characters may or may not reach past the bytes
// before the application data.
Bytes ExtendedBlock(RandomBytes& random)
{
    Bytes block = random.Next(random.Pick(2) == 0 ? ExtendedConfiguration::kByteSize : random.Pick(201));
    if (block.size() >= 4 && random.Pick(2) == 0)
    {
        block[0] = 0x14;
        const std::size_t counts = random.Pick(2) == 0 ? 32 : 8;
        block[1] =
            static_cast<std::uint8_t>((random.Pick(4) == 0 ? random.Pick(8) : 2) << 5 | random.Pick(counts));
        block[2] =
            static_cast<std::uint8_t>((random.Pick(4) == 0 ? random.Pick(8) : 1) << 5 | random.Pick(counts));
        block[3] = 16;
    }
    return block;
}

TEST(ExtendedConfigurationFromOutside, DecodesOrRefusesAndWhatItDecodesValidatesOrRefusesAndEncodesAgain)
{
    RandomBytes random(0xEC0F16);
    int decoded = 0;
    for (int run = 0; run < kRuns; ++run)
    {
        const Bytes block = ExtendedBlock(random);
        std::optional<ExtendedConfiguration> configuration;
        const std::string fault = FaultOf([&] { configuration = ExtendedConfiguration::FromVector(block); });
        ASSERT_EQ(fault, "") << "run " << run << ": " << Hex(block);
        if (!configuration)
        {
            continue;
        }
        ++decoded;
        const auto& header = configuration->FieldSeparatorDataHeader;
        ASSERT_LE(header.FieldEntryCount, ExtendedConfiguration::kMaxFieldEntries);
        ASSERT_LE(header.SeparatorEntryCount, ExtendedConfiguration::kMaxSeparatorEntries);
        ASSERT_EQ(FaultOf([&] { configuration->Validate(); }), "") << "run " << run << ": " << Hex(block);
        // Whatever fitted the block when read fits it when written: a configuration read can be written back.
        std::vector<std::uint8_t> written;
        ASSERT_FALSE(Refuses([&] { written = configuration->ToVector(); }))
            << "run " << run << ": " << PyxTest::FailureOf([&] { configuration->ToVector(); }).message << "\n"
            << Hex(block);
        ASSERT_EQ(written.size(), ExtendedConfiguration::kByteSize);
    }
    // Enough of the blocks got past the header for the entries to have been read.
    EXPECT_GT(decoded, kRuns / 10);
}

// The parts of the block, each refusing exactly the vectors too short to hold it.
struct Part
{
    const char* name;
    std::size_t size;
    std::function<void(const Bytes&)> decode;
    std::function<void(const Bytes&)> decodeAndValidate;
};

template <typename Record> Part PartOf(const char* name, std::size_t size)
{
    return {name, size, [](const Bytes& b) { Record::FromVector(b); },
            [](const Bytes& b) { Record::FromVector(b).Validate(); }};
}

const Part kParts[] = {
    PartOf<FieldSeparatorDataHeader>("FieldSeparatorDataHeader", 4),
    PartOf<FieldEntry>("FieldEntry", 4),
    PartOf<SeparatorCharacter>("SeparatorCharacter", 1),
    PartOf<SeparatorEntry>("SeparatorEntry", 2),
    PartOf<ApplicationData>("ApplicationData", 2),
};

TEST(ExtendedConfigurationPartsFromOutside, RefuseOnlyVectorsShorterThanThemselves)
{
    RandomBytes random(0x9A475);
    for (const Part& part : kParts)
    {
        for (int run = 0; run < kRuns / 4; ++run)
        {
            const Bytes bytes = random.Next(random.Pick(9));
            ASSERT_EQ(FaultOf([&] { part.decodeAndValidate(bytes); }), "") << part.name << ": " << Hex(bytes);
            EXPECT_EQ(Refuses([&] { part.decode(bytes); }), bytes.size() < part.size)
                << part.name << ": " << Hex(bytes);
        }
    }
}

// A length field filled by the caller: small, near the area's end or anything a 16-bit field holds.
std::uint16_t CallerLength(RandomBytes& random, std::size_t area)
{
    switch (random.Pick(3))
    {
    case 0:
        return static_cast<std::uint16_t>(random.Pick(area + 1));
    case 1:
        return static_cast<std::uint16_t>(area - 2 + random.Pick(5));
    default:
        return static_cast<std::uint16_t>(random.Pick(0x10000));
    }
}

// Random images of the records a host fills and hands in: the data handed out is the announced length of
// the area, or the record is refused when that reaches past the area.
TEST(CallerFilledRecords, HandOutTheirAnnouncedDataOrRefuseALengthPastTheArea)
{
    RandomBytes random(0xB1E5C);
    for (int run = 0; run < kRuns; ++run)
    {
        Bytes image = random.Next(sizeof(ReaderBleConfiguration));
        const std::uint16_t bleLength = CallerLength(random, ReaderBleConfiguration::kMaxDataLength);
        std::memcpy(image.data() + 1, &bleLength, sizeof bleLength);
        const auto ble = FromImage<ReaderBleConfiguration>(image);
        std::vector<std::uint8_t> data;
        ASSERT_EQ(FaultOf([&] { data = ble.GetBleData(); }), "");
        if (bleLength <= ReaderBleConfiguration::kMaxDataLength)
        {
            EXPECT_EQ(data, Bytes(image.begin() + 3, image.begin() + 3 + bleLength)) << "run " << run;
        }
        else
        {
            EXPECT_TRUE(Refuses([&] { ble.GetBleData(); })) << "run " << run << ": length " << bleLength;
        }

        image = random.Next(sizeof(SmartCardConfiguration));
        const std::uint16_t blobLength = CallerLength(random, SmartCardConfiguration::kMaxDataLength);
        std::memcpy(image.data() + 2, &blobLength, sizeof blobLength);
        const auto smartCard = FromImage<SmartCardConfiguration>(image);
        ASSERT_EQ(FaultOf([&] { data = smartCard.GetBlobData(); }), "");
        if (blobLength <= SmartCardConfiguration::kMaxDataLength)
        {
            EXPECT_EQ(data, Bytes(image.begin() + 5, image.begin() + 5 + blobLength)) << "run " << run;
        }
        else
        {
            EXPECT_TRUE(Refuses([&] { smartCard.GetBlobData(); }))
                << "run " << run << ": length " << blobLength;
        }
    }
}
} // namespace
