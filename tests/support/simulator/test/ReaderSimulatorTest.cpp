#include <gtest/gtest.h>

#include "ReaderSimulator.h"

namespace PyxTest::Sim
{
namespace
{
Bytes Line(const std::string& text)
{
    return Mfp24Line(text);
}

ReaderModel ModelWithCardAndQueue()
{
    ReaderModel model;
    model.beeper.volume = 1;
    CardSection::Card card;
    card.bitCount = 26;
    for (std::size_t i = 0; i < card.data.size(); ++i)
    {
        card.data[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    model.card.presented = card;
    CardSection::QueuedId first;
    first.data.fill(0x11);
    first.field16 = 0x1234;
    first.fieldA = 0xAA;
    first.fieldB = 0xBB;
    first.fieldC = 0xCC;
    CardSection::QueuedId second;
    second.data.fill(0x22);
    model.card.queuedIds = {first, second};
    return model;
}

struct ExchangeCase
{
    const char* name;
    Protocol protocol;
    Bytes request;
    Bytes reply;
};

std::optional<Bytes> Send(ReaderSimulator& simulator, Protocol protocol, const Bytes& request)
{
    if (protocol == Protocol::SerialBinary)
    {
        return simulator.SerialBinary().Receive(request);
    }
    return simulator.Hid(protocol).Exchange(request);
}

TEST(ReaderSimulatorTest, AnswersEachRequestByteForByte)
{
    const std::vector<ExchangeCase> cases = {
        {"FR beep echoes", Protocol::FeatureReport, FeatureReportPhrase({0x8C, 0x03, 0x82}),
         FeatureReportPhrase({0x8C, 0x03, 0x82})},
        {"FR beep refused", Protocol::FeatureReport, FeatureReportPhrase({0x8C, 0x03, 0x83}), Bytes(8, 0x00)},
        {"FR get volume", Protocol::FeatureReport, FeatureReportPhrase({0x8C, 0x06}),
         FeatureReportPhrase({0x8C, 0x06, 0x01})},
        {"FR set volume", Protocol::FeatureReport, FeatureReportPhrase({0x8C, 0x86, 0x03}),
         FeatureReportPhrase({0x8C, 0x06})},
        {"FR set volume refused", Protocol::FeatureReport, FeatureReportPhrase({0x8C, 0x86, 0x04}),
         FeatureReportPhrase({0x8C, 0x86, 0x04})},
        {"FR bit count", Protocol::FeatureReport, FeatureReportPhrase({0x8E}), FeatureReportPhrase({26})},
        {"FR short card",
         Protocol::FeatureReport,
         FeatureReportPhrase({0x8F}),
         {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7}},
        {"FR long card chunk 3",
         Protocol::FeatureReport,
         FeatureReportPhrase({0x8D, 0x03}),
         {0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF}},
        {"FR queued id chunk", Protocol::FeatureReport, FeatureReportPhrase({0x8C, 0x02, 0x01}),
         Bytes(8, 0x11)},
        {"FR queued id trailer",
         Protocol::FeatureReport,
         FeatureReportPhrase({0x8C, 0x02, 0x04, 0x07}),
         {0x34, 0x12, 0xAA, 0xBB, 0x00, 0x00, 0x00, 0xCC}},
        {"FR unknown command", Protocol::FeatureReport, FeatureReportPhrase({0xEE, 0x01}), Bytes(8, 0x00)},
        {"Mfp24 long beep", Protocol::Mfp24, Line("BL2"), Line("RL2")},
        {"Mfp24 three long beeps refused", Protocol::Mfp24, Line("BL3"), Line("EL3")},
        {"Mfp24 set volume", Protocol::Mfp24, Line("BV3"), Line("RV3")},
        {"Mfp24 unknown command", Protocol::Mfp24, Line("ZZ9"), Line("EZ9")},
        {"SB beep", Protocol::SerialBinary, {0xFA, 0x0C, 0x03, 0x82, 0x00}, {0x90, 0x00}},
        {"SB beep of six refused", Protocol::SerialBinary, {0xFA, 0x0C, 0x03, 0x06, 0x00}, {0x6B, 0x00}},
        {"SB get volume", Protocol::SerialBinary, {0xFA, 0x0C, 0x06, 0x00, 0x00}, {0x0C, 0x01, 0x90, 0x00}},
        {"SB set volume", Protocol::SerialBinary, {0xFA, 0x0C, 0x86, 0x02, 0x00, 0x00}, {0x0C, 0x90, 0x00}},
        {"SB short card",
         Protocol::SerialBinary,
         {0xFA, 0x00, 0x00, 0x00, 0x0C},
         {0x00, 0x00, 26, 0x00, 0x00, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0x90, 0x00}},
        {"SB card of odd size", Protocol::SerialBinary, {0xFA, 0x00, 0x00, 0x00, 0x10}, {0x67, 0x00}},
        {"SB queued id trailer",
         Protocol::SerialBinary,
         {0xFA, 0x0C, 0x02, 0x04, 0x01},
         {0x0C, 0x34, 0x12, 0xAA, 0xBB, 0x00, 0x00, 0x00, 0xCC, 0x90, 0x00}},
        {"SB unknown sub-command", Protocol::SerialBinary, {0xFA, 0x0C, 0x7F, 0x00, 0x00}, {0x6B, 0x00}},
        {"SB unknown instruction", Protocol::SerialBinary, {0xFA, 0x77, 0x00, 0x00, 0x00}, {0x6D, 0x00}},
        {"SB wrong lead byte", Protocol::SerialBinary, {0xFB, 0x0C, 0x06, 0x00, 0x00}, {0x6E, 0x00}},
    };
    for (const auto& c : cases)
    {
        ReaderSimulator simulator(ModelWithCardAndQueue());
        EXPECT_EQ(Send(simulator, c.protocol, c.request), c.reply) << c.name;
    }
}

TEST(ReaderSimulatorTest, LongSerialCardReadCarriesAllDataAndNoCardIsReportedWithEmptyData)
{
    ReaderSimulator simulator(ModelWithCardAndQueue());
    const Bytes reply = simulator.SerialBinary().Receive(Bytes{0xFA, 0x00, 0x00, 0x00, 0x24});
    ASSERT_EQ(reply.size(), 39u);
    EXPECT_EQ(reply[36], 0xBF);
    EXPECT_EQ(Bytes(reply.end() - 2, reply.end()), (Bytes{0x90, 0x00}));

    simulator.Update([](ReaderModel& model) { model.card.presented.reset(); });
    Bytes empty(5 + 8, 0x00);
    empty.insert(empty.end(), {0x6A, 0x82});
    EXPECT_EQ(simulator.SerialBinary().Receive(Bytes{0xFA, 0x00, 0x00, 0x00, 0x0C}), empty);
    EXPECT_EQ(simulator.FeatureReport().Exchange(FeatureReportPhrase({0x8E})), Bytes(8, 0x00));
}

TEST(ReaderSimulatorTest, BeepsAndVolumeChangesReachTheModelOnlyWhenAccepted)
{
    ReaderSimulator simulator;
    simulator.FeatureReport().Exchange(FeatureReportPhrase({0x8C, 0x03, 0x03}));
    simulator.Mfp24().Exchange(Line("BL2"));
    simulator.SerialBinary().Receive(Bytes{0xFA, 0x0C, 0x03, 0x00, 0x00});       // no beep: refused
    simulator.SerialBinary().Receive(Bytes{0xFA, 0x0C, 0x86, 0x09, 0x00, 0x00}); // volume 9: refused
    simulator.SerialBinary().Receive(Bytes{0xFA, 0x0C, 0x86, 0x00, 0x00, 0x00});

    const ReaderModel model = simulator.Snapshot();
    EXPECT_EQ(model.beeper.beeps, (std::vector<BeeperSection::Beep>{{3, false}, {2, true}}));
    EXPECT_EQ(model.beeper.volume, 0);
}

TEST(ReaderSimulatorTest, QueuedIdReadsWalkTheQueueAndRecordTheirFlags)
{
    ReaderSimulator simulator(ModelWithCardAndQueue());
    auto read = [&](std::uint8_t flags)
    {
        Bytes data;
        for (std::uint8_t k = 0; k < 4; ++k)
        {
            auto chunk = simulator.FeatureReport().Exchange(FeatureReportPhrase({0x8C, 0x02, k}));
            data.insert(data.end(), chunk->begin(), chunk->end());
        }
        simulator.FeatureReport().Exchange(FeatureReportPhrase({0x8C, 0x02, 0x04, flags}));
        return data;
    };
    EXPECT_EQ(read(0x01), Bytes(32, 0x11));
    EXPECT_EQ(read(0x02), Bytes(32, 0x22));
    EXPECT_EQ(read(0x03), Bytes(32, 0x00));
    const ReaderModel model = simulator.Snapshot();
    EXPECT_TRUE(model.card.queuedIds.empty());
    EXPECT_EQ(model.card.queuedIdFlags, (std::vector<std::uint8_t>{0x01, 0x02, 0x03}));
}

// A header that reads a value when the host fetches the reply and writes it when the host sends data.
HandlerTables StoreTables(std::uint8_t& stored)
{
    HandlerTables tables;
    auto write = [&stored](ReaderModel&, ByteView data)
    {
        stored = data[0];
        return Reply(Bytes{0x81, 0x90, 0x00});
    };
    tables.featureReport.On(0x80, [&stored, write](ReaderModel&, ByteView)
                            { return ReplyThenData(FeatureReportPhrase({stored}), 8, write); });
    tables.serialBinary.On(
        0x06, {HeaderOnly, [write](ReaderModel&, ByteView) { return ReplyThenData(Bytes{0x06}, 2, write); }});
    return tables;
}

TEST(ReaderSimulatorTest, FeatureHeaderIsAReadWhenFetchedAndAWriteWhenDataFollows)
{
    std::uint8_t stored = 0x05;
    ReaderSimulator simulator({}, StoreTables(stored));
    auto& hid = simulator.FeatureReport();

    EXPECT_EQ(hid.Exchange(FeatureReportPhrase({0x80})), FeatureReportPhrase({0x05}));
    // After a fetch the next phrase is a request again, not data.
    hid.SetFeature(FeatureReportPhrase({0x80}));
    EXPECT_EQ(stored, 0x05);

    hid.SetFeature(FeatureReportPhrase({0x42}));
    EXPECT_EQ(stored, 0x42);
    EXPECT_EQ(hid.Exchange(FeatureReportPhrase({0x80})), FeatureReportPhrase({0x42}));
    EXPECT_EQ(simulator.Received(Protocol::FeatureReport).size(), 4u);
}

TEST(ReaderSimulatorTest, SerialPhrasesAreCutFromTheStreamWhateverThePieces)
{
    std::uint8_t stored = 0x00;
    ReaderSimulator simulator({}, StoreTables(stored));
    auto& serial = simulator.SerialBinary();

    // A header in pieces, its acknowledgement, then the data in pieces.
    EXPECT_EQ(serial.Receive(Bytes{0xFA, 0x06}), Bytes{});
    EXPECT_EQ(serial.Receive(Bytes{0x00, 0x00, 0x02}), Bytes{0x06});
    EXPECT_EQ(serial.Receive(Bytes{0x33}), Bytes{});
    EXPECT_EQ(serial.Receive(Bytes{0x44}), (Bytes{0x81, 0x90, 0x00}));
    EXPECT_EQ(stored, 0x33);

    // Two phrases in one write are answered in order; a third, incomplete, waits.
    EXPECT_EQ(serial.Receive(Bytes{0xFA, 0x06, 0x00, 0x00, 0x02, 0x55, 0x00, 0xFA}),
              (Bytes{0x06, 0x81, 0x90, 0x00}));
    EXPECT_EQ(serial.Buffered(), 1u);
    serial.Reset();
    EXPECT_EQ(serial.Buffered(), 0u);
}

TEST(ReaderSimulatorTest, ArmedFaultsAlterOnlyTheMatchingReplies)
{
    const Bytes getVolume{0xFA, 0x0C, 0x06, 0x00, 0x00};
    const Bytes beep{0xFA, 0x0C, 0x03, 0x01, 0x00};
    struct FaultCase
    {
        const char* name;
        Fault fault;
        Bytes request;
        Bytes reply;
    };
    const std::vector<FaultCase> cases = {
        {"wrong echo", Fault::WrongEcho({0xFA, 0x0C, 0x06}), getVolume, {0x0D, 0x02, 0x90, 0x00}},
        {"short reply", Fault::ShortReply({}, 1), getVolume, {0x0C}},
        {"status word", Fault::Status({0xFA, 0x0C, 0x03}, 0x6A, 0x83), beep, {0x6A, 0x83}},
        {"silence", Fault::Silent({}), getVolume, {}},
        {"replaced", Fault::ReplaceWith({}, {0x01, 0x02}), getVolume, {0x01, 0x02}},
        {"other request untouched", Fault::Silent({0xFA, 0x0C, 0x03}), getVolume, {0x0C, 0x02, 0x90, 0x00}},
    };
    for (const auto& c : cases)
    {
        ReaderSimulator simulator;
        simulator.Arm(c.fault);
        EXPECT_EQ(simulator.SerialBinary().Receive(c.request), c.reply) << c.name;
    }
}

TEST(ReaderSimulatorTest, FaultsCountSkippedAndRepeatedRequests)
{
    ReaderSimulator simulator;
    simulator.Arm(Fault::Silent({0x8C, 0x06}).After(1).Times(2));
    auto& hid = simulator.FeatureReport();
    const Bytes getVolume = FeatureReportPhrase({0x8C, 0x06});
    EXPECT_TRUE(hid.Exchange(getVolume).has_value());
    EXPECT_FALSE(hid.Exchange(getVolume).has_value());
    EXPECT_TRUE(hid.Exchange(FeatureReportPhrase({0x8E})).has_value());
    EXPECT_FALSE(hid.Exchange(getVolume).has_value());
    EXPECT_FALSE(simulator.FaultsPending());
    EXPECT_TRUE(hid.Exchange(getVolume).has_value());
}

TEST(ReaderSimulatorTest, FeatureReplyIsCutToTheLengthAskedAndZeroBeforeAnyRequest)
{
    ReaderSimulator simulator;
    auto& mfp24 = simulator.Mfp24();
    EXPECT_EQ(mfp24.GetFeature(24), Bytes(24, 0x00));
    mfp24.SetFeature(Bytes{'B', 'V', '1'}); // zero-filled to 24: still a volume request
    EXPECT_EQ(mfp24.GetFeature(3), (Bytes{'R', 'V', '1'}));
    EXPECT_EQ(simulator.Snapshot().beeper.volume, 1);
}
} // namespace
} // namespace PyxTest::Sim
