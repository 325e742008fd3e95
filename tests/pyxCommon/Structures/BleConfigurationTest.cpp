#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RecordTestSupport.h"
#include "Structures/BleConfiguration.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Bytes;
using PyxTest::Failure;
using PyxTest::FailureOf;
using PyxTest::FromImage;
using PyxTest::Image;

TEST(ReaderBleConfiguration, ImageIsTypeLengthAndZeroPaddedData)
{
    ReaderBleConfiguration config;
    config.SetBleDataType(2).SetBleData({0xDE, 0xAD, 0xBE});
    Bytes expected(387, 0);
    const Bytes start = {0x02, 0x03, 0x00, 0xDE, 0xAD, 0xBE};
    std::copy(start.begin(), start.end(), expected.begin());
    EXPECT_EQ(Image(config), expected);
    EXPECT_EQ(config.GetBleDataType(), BleDataType::Key);
    EXPECT_EQ(config.GetBleData(), (Bytes{0xDE, 0xAD, 0xBE}));
}

TEST(ReaderBleConfiguration, NewDataReplacesTheWholeArea)
{
    ReaderBleConfiguration config;
    const Bytes full(384, 0x7E);
    config.SetBleDataType(1).SetBleData(full);
    EXPECT_EQ(config.GetBleData(), full);
    EXPECT_EQ(config.GetBleDataLength(), 384);
    config.SetBleData({});
    Bytes expected(387, 0);
    expected[0] = 1;
    EXPECT_EQ(Image(config), expected);
    EXPECT_TRUE(config.GetBleData().empty());
}

TEST(ReaderBleConfiguration, MoreThan384BytesAreRefusedAndChangeNothing)
{
    ReaderBleConfiguration config;
    config.SetBleDataType(1).SetBleData({1, 2, 3});
    const Bytes before = Image(config);
    const Failure failure = FailureOf([&] { config.SetBleData(Bytes(385, 9)); });
    EXPECT_EQ(failure.message, "BLE data size (385) exceeds maximum allowed size (384)");
    EXPECT_EQ(failure.function, "SetBleData");
    EXPECT_EQ(Image(config), before);
}

TEST(ReaderBleConfiguration, CallerFilledLengthBeyondTheAreaIsRefused)
{
    Bytes image(387, 0x22);
    image[1] = 0xF4; // 500, little-endian
    image[2] = 0x01;
    const auto config = FromImage<ReaderBleConfiguration>(image);
    EXPECT_EQ(FailureOf([&] { config.GetBleData(); }).message,
              "BLE data size (500) exceeds maximum allowed size (384)");
}
} // namespace
