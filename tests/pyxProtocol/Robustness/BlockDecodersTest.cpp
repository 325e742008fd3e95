#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "Configuration/ReaderConfiguration.h"
#include "ProtocolException.h"

// The configuration blocks are decoded from what a reader sends, so they are fed vectors of every length
// up to 32 with random bytes from a fixed seed: a vector too short for a block is refused with the library's
// error, any other decodes from its first 8 bytes alone, and the decoded block prints.
namespace
{
using Bytes = std::vector<std::uint8_t>;
using namespace PyxProtocol;

template <typename Block> class BlockFromOutside : public ::testing::Test
{
};
using BlockTypes =
    ::testing::Types<ReaderConfigurationBlock1, ReaderConfigurationBlock2, ReaderConfigurationBlock3,
                     ReaderConfigurationBlock4, ReaderConfigurationBlock5>;
TYPED_TEST_SUITE(BlockFromOutside, BlockTypes);

TYPED_TEST(BlockFromOutside, RefusesShortVectorsAndReadsOnlyTheFirstEightBytesOfOthers)
{
    std::mt19937 random(0xB10C);
    for (int run = 0; run < 2000; ++run)
    {
        Bytes bytes(random() % 33);
        for (auto& byte : bytes)
        {
            byte = static_cast<std::uint8_t>(random());
        }
        if (bytes.size() < ConfigurationBlockSize)
        {
            EXPECT_THROW(TypeParam::FromVector(bytes), ProtocolException) << bytes.size() << " bytes";
            continue;
        }
        const TypeParam block = TypeParam::FromVector(bytes);
        EXPECT_EQ(TypeParam::ToVector(block), Bytes(bytes.begin(), bytes.begin() + ConfigurationBlockSize));
        std::string text;
        EXPECT_FALSE(block.ToString(text).empty());
    }
}
} // namespace
