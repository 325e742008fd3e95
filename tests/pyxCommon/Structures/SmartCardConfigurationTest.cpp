#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RecordTestSupport.h"
#include "Structures/SmartCardConfiguration.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Bytes;
using PyxTest::Failure;
using PyxTest::FailureOf;
using PyxTest::FromImage;
using PyxTest::Image;

BlobHeader Header(std::uint8_t type, std::uint16_t length)
{
    return {type, 0xA1, length, 0xA4};
}

TEST(SmartCardConfiguration, OnlyKnownBlobTypesAreAccepted)
{
    const Bytes accepted = {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 18, 20, 21, 22, 23, 26, 27};
    for (int type = 0; type <= 255; ++type)
    {
        SmartCardConfiguration config;
        const auto set = [&] { config.SetConfiguration(Header(static_cast<std::uint8_t>(type), 1), {0x55}); };
        if (std::find(accepted.begin(), accepted.end(), type) != accepted.end())
        {
            EXPECT_NO_THROW(set()) << type;
        }
        else
        {
            const Failure failure = FailureOf(set);
            EXPECT_EQ(failure.message, "Invalid blob type for SmartCardConfiguration") << type;
            EXPECT_EQ(failure.function, "SetConfiguration");
        }
    }
}

TEST(SmartCardConfiguration, StoresHeaderAndDataAsOneImage)
{
    SmartCardConfiguration config;
    config.SetConfiguration(Header(15, 3), {0x0A, 0x0B, 0x0C});
    Bytes expected(1021, 0);
    const Bytes start = {15, 0xA1, 0x03, 0x00, 0xA4, 0x0A, 0x0B, 0x0C};
    std::copy(start.begin(), start.end(), expected.begin());
    EXPECT_EQ(Image(config), expected);
    EXPECT_EQ(config.GetBlobData(), (Bytes{0x0A, 0x0B, 0x0C}));
}

TEST(SmartCardConfiguration, FullDataAreaIsAcceptedAndOneMoreIsRefusedByLength)
{
    SmartCardConfiguration config;
    const Bytes full(1016, 0x5A);
    config.SetConfiguration(Header(1, 1016), full);
    EXPECT_EQ(config.GetBlobData(), full);
    EXPECT_EQ(FailureOf([&] { config.SetConfiguration(Header(1, 1017), Bytes(1017, 1)); }).message,
              "Data length exceeds maximum blob size");
    EXPECT_EQ(FailureOf([&] { config.SetConfiguration(Header(1, 0xFFFF), Bytes(3, 1)); }).message,
              "Data length exceeds maximum blob size");
}

TEST(SmartCardConfiguration, RefusedBlobLeavesTheRecordAsItWas)
{
    SmartCardConfiguration config;
    config.SetConfiguration(Header(2, 2), {0x01, 0x02});
    const Bytes before = Image(config);
    for (const auto& [header, data] : std::vector<std::pair<BlobHeader, Bytes>>{{Header(4, 3), {1, 2, 3, 4}},
                                                                                {Header(4, 5), {1, 2}},
                                                                                {Header(3, 1), {1}},
                                                                                {Header(4, 2000), {1}}})
    {
        EXPECT_THROW(config.SetConfiguration(header, data), TessmarException);
        EXPECT_EQ(Image(config), before);
    }
    EXPECT_EQ(FailureOf(
                  [&] {
                      config.SetConfiguration(Header(4, 3), {1, 2, 3, 4});
                  })
                  .message,
              "Blob data length does not match with datalength in header");
}

TEST(SmartCardConfiguration, CallerFilledLengthBeyondTheAreaIsRefused)
{
    Bytes image(1021, 0x11);
    image[2] = 0xF9; // 1017, little-endian
    image[3] = 0x03;
    const auto config = FromImage<SmartCardConfiguration>(image);
    EXPECT_EQ(config.GetHeader().DataLength, 1017);
    EXPECT_EQ(FailureOf([&] { config.GetBlobData(); }).message, "Data length exceeds maximum blob size");
}
} // namespace
