#pragma once

// The beeper and card-data commands through the real transports (hidapi on a umockdev node, the serial
// port on a pseudo-terminal), with the reader simulator answering. The suites are shared by the USB HID and
// the serial executables, each instantiating them for its own protocols.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "Commands/WithFeatureReportProtocol/BeepWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetBeeperVolumeWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetCardBitCountWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetCardDataWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetQueuedIdWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetBeeperVolumeWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/BeepWithMfp24Protocol.h"
#include "Commands/WithMfp24Protocol/SetBeeperVolumeWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/BeepWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetBeeperVolumeWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetCardDataWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetQueuedIdWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetBeeperVolumeWithSerialBinaryProtocol.h"
#include "SimulatedReaderTest.h"

namespace PyxEndToEnd
{
using namespace PyxProtocol;
using PyxTest::HidTestbed;
using PyxTest::Sim::Bytes;
using PyxTest::Sim::CardSection;
using PyxTest::Sim::Fault;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;
using PyxTest::Sim::ReaderSimulator;

const char* Name(Protocol protocol)
{
    switch (protocol)
    {
    case Protocol::FeatureReport:
        return "FeatureReport";
    case Protocol::Mfp24:
        return "Mfp24";
    default:
        return "SerialBinary";
    }
}

CardSection::Card Card26()
{
    CardSection::Card card;
    card.bitCount = 26;
    for (std::size_t i = 0; i < card.data.size(); ++i)
    {
        card.data[i] = static_cast<std::uint8_t>(0x40 + i);
    }
    return card;
}

Bytes Prefix(const std::array<std::uint8_t, 32>& data, std::size_t count)
{
    Bytes bytes(32, 0x00);
    std::copy_n(data.begin(), count, bytes.begin());
    return bytes;
}

// A simulated reader of one protocol, opened through the transport factory like a real one.
class EndToEnd : public PyxTest::SimulatedReaderTest<::testing::TestWithParam<Protocol>>
{
protected:
    void SetUp() override { Open(GetParam()); }

    PyxTransport::Transport& Transport() { return *transport_; }
};

std::string ParamName(const ::testing::TestParamInfo<Protocol>& info)
{
    return Name(info.param);
}

// --- Beeper, all three protocols ---

using BeeperEndToEnd = EndToEnd;

void Beep(Protocol protocol, PyxTransport::Transport& transport, std::uint8_t count, BEEP_DURATION duration)
{
    switch (protocol)
    {
    case Protocol::FeatureReport:
    {
        BeepWithFeatureReportProtocol command(count, duration);
        command.Execute(transport);
        break;
    }
    case Protocol::Mfp24:
    {
        BeepWithMfp24Protocol command(count, duration);
        command.Execute(transport);
        break;
    }
    case Protocol::SerialBinary:
    {
        BeepWithSerialBinaryProtocol command(count, duration);
        command.Execute(transport);
        command.ValidateResponse();
        break;
    }
    }
}

void SetVolume(Protocol protocol, PyxTransport::Transport& transport, BeepVolume volume)
{
    switch (protocol)
    {
    case Protocol::FeatureReport:
    {
        SetBeeperVolumeWithFeatureReportProtocol command(volume);
        command.Execute(transport);
        command.ValidateResponse();
        break;
    }
    case Protocol::Mfp24:
    {
        SetBeeperVolumeWithMfp24Protocol command(volume);
        command.Execute(transport);
        command.ValidateResponse();
        break;
    }
    case Protocol::SerialBinary:
    {
        SetBeeperVolumeWithSerialBinaryProtocol command(volume);
        command.Execute(transport);
        command.ValidateResponse();
        break;
    }
    }
}

TEST_P(BeeperEndToEnd, LongBeepsReachTheReaderAsTheirPhrase)
{
    Beep(GetParam(), Transport(), 2, BEEP_DURATION::BEEP_LONG);

    const std::map<Protocol, Bytes> expected = {
        {Protocol::FeatureReport, {0x8C, 0x03, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {Protocol::Mfp24, PyxTest::Sim::Mfp24Line("BL2")},
        {Protocol::SerialBinary, {0xFA, 0x0C, 0x03, 0x82, 0x00}},
    };
    EXPECT_EQ(simulator_.Received(GetParam()), std::vector<Bytes>{expected.at(GetParam())});
    EXPECT_EQ(simulator_.Snapshot().beeper.beeps,
              (std::vector<PyxTest::Sim::BeeperSection::Beep>{{2, true}}));
}

TEST_P(BeeperEndToEnd, VolumeSetIsKeptByTheReader)
{
    SetVolume(GetParam(), Transport(), BeepVolume::VOLUME_3);
    EXPECT_EQ(simulator_.Snapshot().beeper.volume, 3);
    SetVolume(GetParam(), Transport(), BeepVolume::VOLUME_0);
    EXPECT_EQ(simulator_.Snapshot().beeper.volume, 0);
}

TEST_P(BeeperEndToEnd, MisansweredVolumeChangeIsRefused)
{
    // An echo that is off, then a reply cut short: both must be refused, never taken as success.
    const std::map<Protocol, Bytes> request = {
        {Protocol::FeatureReport, {0x8C, 0x86}},
        {Protocol::Mfp24, {'B', 'V'}},
        {Protocol::SerialBinary, {0xFA, 0x0C, 0x86}},
    };
    simulator_.Arm(Fault::WrongEcho(request.at(GetParam())));
    EXPECT_EQ(FailureOf([&] { SetVolume(GetParam(), Transport(), BeepVolume::VOLUME_1); }),
              "Invalid response received");

    // One byte only: on USB HID the transport zero-fills the rest, which must not pass for the reply.
    simulator_.Arm(Fault::ShortReply(request.at(GetParam()), 1));
    EXPECT_NE(FailureOf([&] { SetVolume(GetParam(), Transport(), BeepVolume::VOLUME_1); }), "");
}

// --- Beeper volume read and card data, FeatureReport and SerialBinary ---

using BinaryEndToEnd = EndToEnd;

BeepVolume GetVolume(Protocol protocol, PyxTransport::Transport& transport)
{
    if (protocol == Protocol::FeatureReport)
    {
        GetBeeperVolumeWithFeatureReportProtocol command;
        command.Execute(transport);
        return command.GetResult();
    }
    GetBeeperVolumeWithSerialBinaryProtocol command;
    command.Execute(transport);
    command.ValidateResponse();
    return command.GetResult();
}

// The card read of the card-data operation: bit count and 32 data bytes.
std::pair<std::uint8_t, Bytes> ReadCard(Protocol protocol, PyxTransport::Transport& transport,
                                        GetCardDataSizeParameters size)
{
    if (protocol == Protocol::FeatureReport)
    {
        GetCardBitCountWithFeatureReportProtocol bitCount;
        bitCount.Execute(transport);
        GetCardDataWithFeatureReportProtocol data(size);
        data.Execute(transport);
        return {bitCount.GetResult(), data.GetResult()};
    }
    GetCardDataWithSerialBinaryProtocol command(size);
    command.Execute(transport);
    command.ValidateResponse();
    return {command.GetBitCount(), command.GetResult()};
}

QueuedIdInformation ReadQueuedId(Protocol protocol, PyxTransport::Transport& transport, std::uint8_t flags)
{
    const auto flagParameter = static_cast<QueuedIdFlagParameters>(flags);
    if (protocol == Protocol::FeatureReport)
    {
        GetQueuedIdWithFeatureReportProtocol command(flagParameter);
        command.Execute(transport);
        return command.GetResult();
    }
    GetQueuedIdWithSerialBinaryProtocol command(flagParameter);
    command.Execute(transport);
    command.ValidateResponse();
    return command.GetResult();
}

TEST_P(BinaryEndToEnd, VolumeReadsBackWhatWasSet)
{
    SetVolume(GetParam(), Transport(), BeepVolume::VOLUME_1);
    EXPECT_EQ(GetVolume(GetParam(), Transport()), BeepVolume::VOLUME_1);
    SetVolume(GetParam(), Transport(), BeepVolume::VOLUME_3);
    EXPECT_EQ(GetVolume(GetParam(), Transport()), BeepVolume::VOLUME_3);
}

TEST_P(BinaryEndToEnd, PresentedCardIsReadInBothSizes)
{
    const CardSection::Card card = Card26();
    simulator_.Update([&](ReaderModel& model) { model.card.presented = card; });

    EXPECT_EQ(ReadCard(GetParam(), Transport(), GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES),
              std::make_pair(std::uint8_t{26}, Prefix(card.data, 8)));
    EXPECT_EQ(ReadCard(GetParam(), Transport(), GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES),
              std::make_pair(std::uint8_t{26}, Prefix(card.data, 32)));
}

TEST_P(BinaryEndToEnd, NoCardReadsAsEmptyWithoutFailure)
{
    EXPECT_EQ(ReadCard(GetParam(), Transport(), GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES),
              std::make_pair(std::uint8_t{0}, Bytes(32, 0x00)));
}

TEST_P(BinaryEndToEnd, QueuedIdsAreReadInTurnWithTheirFlags)
{
    CardSection::QueuedId first;
    first.data.fill(0x5A);
    first.field16 = 0xBEEF;
    first.fieldA = 1;
    first.fieldB = 2;
    first.fieldC = 3;
    simulator_.Update([&](ReaderModel& model) { model.card.queuedIds = {first}; });

    const QueuedIdInformation info = ReadQueuedId(GetParam(), Transport(), 0x07);
    EXPECT_EQ(Bytes(std::begin(info.Data), std::end(info.Data)), Bytes(32, 0x5A));
    EXPECT_EQ(info.Field16, 0xBEEF);
    EXPECT_EQ(info.FieldA, 1);
    EXPECT_EQ(info.FieldB, 2);
    EXPECT_EQ(info.FieldC, 3);

    const QueuedIdInformation empty = ReadQueuedId(GetParam(), Transport(), 0x00);
    EXPECT_EQ(Bytes(std::begin(empty.Data), std::end(empty.Data)), Bytes(32, 0x00));
    EXPECT_EQ(simulator_.Snapshot().card.queuedIdFlags, (std::vector<std::uint8_t>{0x07, 0x00}));
    EXPECT_EQ(simulator_.Received(GetParam()).size(), 10u);
}
} // namespace PyxEndToEnd
