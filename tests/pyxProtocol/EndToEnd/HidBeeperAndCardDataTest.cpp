#include "BeeperAndCardDataSuites.h"

namespace PyxEndToEnd
{
INSTANTIATE_TEST_SUITE_P(Hid, BeeperEndToEnd, ::testing::Values(Protocol::FeatureReport, Protocol::Mfp24),
                         ParamName);
INSTANTIATE_TEST_SUITE_P(Hid, BinaryEndToEnd, ::testing::Values(Protocol::FeatureReport), ParamName);

using HidEndToEnd = PyxTest::OpenedOn<Protocol::FeatureReport, EndToEnd>;

TEST_F(HidEndToEnd, SilentReaderFailsTheReadAndTheNextCommandWorks)
{
    simulator_.Arm(Fault::Silent({0x8C, 0x06}));
    EXPECT_THROW(GetVolume(Protocol::FeatureReport, Transport()), std::runtime_error);
    EXPECT_EQ(GetVolume(Protocol::FeatureReport, Transport()), BeepVolume::VOLUME_2);
}

TEST_F(HidEndToEnd, LongCardReadAsksForEachChunkInTurn)
{
    simulator_.Update([](ReaderModel& model) { model.card.presented = Card26(); });
    ReadCard(Protocol::FeatureReport, Transport(), GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);

    std::vector<Bytes> expected{PyxTest::Sim::FeatureReportPhrase({0x8E})};
    for (std::uint8_t k = 0; k < 4; ++k)
    {
        expected.push_back(PyxTest::Sim::FeatureReportPhrase({0x8D, k}));
    }
    EXPECT_EQ(simulator_.Received(Protocol::FeatureReport), expected);
}
} // namespace PyxEndToEnd
