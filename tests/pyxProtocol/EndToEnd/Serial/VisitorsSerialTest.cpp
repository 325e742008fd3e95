// Serial readers run in an executable of their own, outside umockdev-run: its preload refuses TIOCEXCL on a
// pseudo-terminal, which the serial port needs to open.
#include <numeric>

#include "../VisitorsEndToEnd.h"

namespace PyxVisitorsEndToEnd
{
namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;

using SerialBinaryVisitors = PyxTest::OpenedOn<Protocol::SerialBinary, VisitorsEndToEnd>;

TEST_F(SerialBinaryVisitors, ThirtyTwoOperationsCompleteAndTheOthersNeverReachTheReader)
{
    EXPECT_EQ(RunEveryOperation(On::SerialBinary), 32u);
}

TEST_F(SerialBinaryVisitors, CardReadPayloadOfAPresentedCard)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            PyxTest::Sim::CardSection::Card card;
            card.bitCount = 26;
            std::iota(card.data.begin(), card.data.end(), 0x80);
            model.card.presented = card;
        });
    GetCardReadPayloadVisitor visitor(GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES);
    ASSERT_EQ(Visit(On::SerialBinary, visitor), "");
    const CardReadPayload payload = visitor.GetResult();
    Bytes expected(32, 0);
    std::iota(expected.begin(), expected.begin() + 8, 0x80);
    EXPECT_EQ(payload.BitCount, 26);
    EXPECT_EQ(Bytes(std::begin(payload.Data), std::end(payload.Data)), expected);
}

TEST_F(SerialBinaryVisitors, StoredDefaultsReloadThenWait)
{
    auto delay = std::make_unique<PyxTest::RecordingTimeDelay>();
    PyxTest::RecordingTimeDelay& waits = *delay;
    LoadStoredDefaultsVisitor visitor(std::move(delay));
    ASSERT_EQ(Visit(On::SerialBinary, visitor), "");
    EXPECT_EQ(waits.WaitsInMilliseconds(), std::vector<int>{1200});
    EXPECT_EQ(simulator_.Snapshot().configuration.defaultLoads, 1u);
}

TEST_F(SerialBinaryVisitors, BlocksWrittenToAConfigurationReadBack)
{
    ReaderConfigurationBlock1 block{};
    block.FacDigitCount = 26;
    block.StripTrailingParityCount = 15;
    block.TerminationCharacter = 0x0D;
    block.DisableKeystroking = 1;
    SetActiveConfigurationVisitor select(1);
    SetConfigurationBlock1Visitor write(block);
    GetConfigurationBlock1Visitor read;
    ASSERT_EQ(Visit(On::SerialBinary, select), "");
    ASSERT_EQ(Visit(On::SerialBinary, write), "");
    ASSERT_EQ(Visit(On::SerialBinary, read), "");
    EXPECT_EQ(read.GetResult(), block);

    WriteConfigurationVisitor store(1);
    ASSERT_EQ(Visit(On::SerialBinary, store), "");
    EXPECT_EQ(simulator_.Snapshot().configuration.writes, std::vector<bool>{true});
}

TEST_F(SerialBinaryVisitors, FactoryDefaultsAreNotCopiedToRam)
{
    CopyConfigurationVisitor copy(ConfigurationLocation::FactoryDefaults, ConfigurationLocation::RAM, 0, 0);
    EXPECT_EQ(Visit(On::SerialBinary, copy),
              "CopyConfigurationVisitor.cpp ValidateArguments: Factory Defaults "
              "configuration cannot be copied to RAM.");
    EXPECT_TRUE(simulator_.Received().empty());
}
} // namespace
} // namespace PyxVisitorsEndToEnd
