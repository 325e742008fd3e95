// The configuration commands against the reader simulator, in process: the commands and the simulator were
// written from the same byte layouts independently, so each checks the other.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Commands/WithFeatureReportProtocol/CopyConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock1WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock3WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock4WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/LoadStoredDefaultsWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock1WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock3WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock4WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/WriteConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/CopyConfigurationWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/CopyConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock2WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock3WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock5WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/LoadStoredDefaultsWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock2WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock3WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock5WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/WriteConfigurationWithSerialBinaryProtocol.h"
#include "ProtocolException.h"
#include "ReaderSimulator.h"
#include "RecordingTimeDelay.h"
#include "Transport.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;
using PyxTest::Sim::ReaderSimulator;
using Bytes = std::vector<std::uint8_t>;
using Loc = ConfigurationLocation;

// A transport wired straight to a simulator front end: feature reports for the HID protocols, a byte
// stream for SerialBinary.
class SimulatorTransport : public PyxTransport::Transport
{
public:
    SimulatorTransport(ReaderSimulator& simulator, Protocol protocol)
        : Transport(PyxCommon::ReaderDefinition{}), simulator_(simulator), protocol_(protocol)
    {
    }
    void init(std::uint32_t) override {}
    void transmit(const PyxTransport::TransportPacket& packet) override
    {
        if (protocol_ == Protocol::SerialBinary)
        {
            const Bytes answer = simulator_.SerialBinary().Receive(packet.Data);
            pending_.insert(pending_.end(), answer.begin(), answer.end());
        }
        else
        {
            simulator_.Hid(protocol_).SetFeature(packet.Data);
        }
    }
    std::vector<std::uint8_t> receive(const PyxTransport::TransportPacket& packet) override
    {
        if (protocol_ == Protocol::SerialBinary)
        {
            return std::exchange(pending_, {});
        }
        return simulator_.Hid(protocol_).GetFeature(packet.Length).value_or(Bytes{});
    }

private:
    ReaderSimulator& simulator_;
    Protocol protocol_;
    Bytes pending_;
};

ReaderConfiguration DistinctConfiguration()
{
    // Every byte different, block 2's hidden bytes included, so a block landing in the wrong place shows.
    auto bytes = [](std::uint8_t first)
    {
        Bytes b(8);
        for (std::uint8_t i = 0; i < 8; ++i)
        {
            b[i] = static_cast<std::uint8_t>(first + 0x11 * i);
        }
        return b;
    };
    return {ReaderConfigurationBlock1::FromVector(bytes(0x01)),
            ReaderConfigurationBlock2::FromVector(bytes(0x02)),
            ReaderConfigurationBlock3::FromVector(bytes(0x03)),
            ReaderConfigurationBlock4::FromVector(bytes(0x04)),
            ReaderConfigurationBlock5::FromVector(bytes(0x05))};
}

template <typename C> C& Exchange(C& command, PyxTransport::Transport& transport)
{
    command.Execute(transport);
    return command;
}

void WriteAll(Protocol protocol, PyxTransport::Transport& t, const ReaderConfiguration& c)
{
    if (protocol == Protocol::FeatureReport)
    {
        SetConfigurationBlock1WithFeatureReportProtocol b1(c.Block1);
        SetConfigurationBlock2WithFeatureReportProtocol b2(c.Block2);
        SetConfigurationBlock3WithFeatureReportProtocol b3(c.Block3);
        SetConfigurationBlock4WithFeatureReportProtocol b4(c.Block4);
        SetConfigurationBlock5WithFeatureReportProtocol b5(c.Block5);
        Exchange(b1, t), Exchange(b2, t), Exchange(b3, t), Exchange(b4, t), Exchange(b5, t);
        return;
    }
    SetConfigurationBlock1WithSerialBinaryProtocol b1(c.Block1);
    SetConfigurationBlock2WithSerialBinaryProtocol b2(c.Block2);
    SetConfigurationBlock3WithSerialBinaryProtocol b3(c.Block3);
    SetConfigurationBlock4WithSerialBinaryProtocol b4(c.Block4);
    SetConfigurationBlock5WithSerialBinaryProtocol b5(c.Block5);
    Exchange(b1, t).ValidateResponse();
    Exchange(b2, t).ValidateResponse();
    Exchange(b3, t).ValidateResponse();
    Exchange(b4, t).ValidateResponse();
    Exchange(b5, t).ValidateResponse();
}

template <typename C> auto Read(C& command, PyxTransport::Transport& t)
{
    command.Execute(t);
    if constexpr (std::is_base_of_v<SerialBinaryCommand, C>)
    {
        command.ValidateResponse();
    }
    return command.GetResult();
}

ReaderConfiguration ReadAll(Protocol protocol, PyxTransport::Transport& t)
{
    if (protocol == Protocol::FeatureReport)
    {
        GetConfigurationBlock1WithFeatureReportProtocol b1;
        GetConfigurationBlock2WithFeatureReportProtocol b2;
        GetConfigurationBlock3WithFeatureReportProtocol b3;
        GetConfigurationBlock4WithFeatureReportProtocol b4;
        GetConfigurationBlock5WithFeatureReportProtocol b5;
        return {Read(b1, t), Read(b2, t), Read(b3, t), Read(b4, t), Read(b5, t)};
    }
    GetConfigurationBlock1WithSerialBinaryProtocol b1;
    GetConfigurationBlock2WithSerialBinaryProtocol b2;
    GetConfigurationBlock3WithSerialBinaryProtocol b3;
    GetConfigurationBlock4WithSerialBinaryProtocol b4;
    GetConfigurationBlock5WithSerialBinaryProtocol b5;
    return {Read(b1, t), Read(b2, t), Read(b3, t), Read(b4, t), Read(b5, t)};
}

void Select(Protocol protocol, PyxTransport::Transport& t, std::uint8_t number)
{
    if (protocol == Protocol::FeatureReport)
    {
        SetActiveConfigurationWithFeatureReportProtocol command(number);
        Exchange(command, t);
        return;
    }
    SetActiveConfigurationWithSerialBinaryProtocol command(number);
    Exchange(command, t).ValidateResponse();
}

ActiveConfigurationInformation Information(Protocol protocol, PyxTransport::Transport& t)
{
    if (protocol == Protocol::FeatureReport)
    {
        GetActiveConfigurationWithFeatureReportProtocol command;
        Exchange(command, t).ValidateResponse();
        return command.GetResult();
    }
    GetActiveConfigurationWithSerialBinaryProtocol command;
    return Read(command, t);
}

class BinaryProtocols : public ::testing::TestWithParam<Protocol>
{
protected:
    ReaderSimulator simulator_;
    SimulatorTransport transport_{simulator_, GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Simulated, BinaryProtocols,
                         ::testing::Values(Protocol::FeatureReport, Protocol::SerialBinary),
                         [](const auto& info) {
                             return info.param == Protocol::FeatureReport ? "FeatureReport" : "SerialBinary";
                         });

TEST_P(BinaryProtocols, BlocksWrittenToTheSelectedConfigurationReadBackUnchanged)
{
    const ReaderConfiguration written = DistinctConfiguration();
    Select(GetParam(), transport_, 2);
    WriteAll(GetParam(), transport_, written);
    EXPECT_EQ(ReadAll(GetParam(), transport_), written);

    const auto model = simulator_.Snapshot().configuration;
    EXPECT_EQ(model.active, 2);
    EXPECT_EQ(Bytes(model.configurations[2][1].begin(), model.configurations[2][1].end()),
              ReaderConfigurationBlock2::ToVector(written.Block2));
    EXPECT_EQ(model.configurations[0], ReaderModel{}.configuration.configurations[0])
        << "other one untouched";

    Select(GetParam(), transport_, 0);
    EXPECT_EQ(ReadAll(GetParam(), transport_), ReaderConfiguration{});
}

TEST_P(BinaryProtocols, ActiveConfigurationInformationReadsTheSameOnBothProtocols)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.configuration.active = 1;
            model.configuration.field16 = 0xBEEF;
            model.configuration.field8 = 0x42;
        });
    EXPECT_EQ(Information(GetParam(), transport_), (ActiveConfigurationInformation{1, 4, 0xBEEF, 0x42}));
    Select(GetParam(), transport_, 3);
    EXPECT_EQ(Information(GetParam(), transport_).ActiveConfiguration, 3);
}

TEST_P(BinaryProtocols, StoringAndLoadingDefaultsReachTheReader)
{
    simulator_.Update(
        [&](ReaderModel& model)
        {
            for (std::size_t i = 0; i < 5; ++i)
            {
                model.configuration.storedDefaults[i] = {std::uint8_t(0xD0 + i), 1, 2, 3, 4, 5, 6, 7};
            }
        });
    if (GetParam() == Protocol::FeatureReport)
    {
        WriteConfigurationWithFeatureReportProtocol write;
        LoadStoredDefaultsWithFeatureReportProtocol load;
        Exchange(write, transport_);
        Exchange(load, transport_);
        EXPECT_EQ(simulator_.Snapshot().configuration.writes, std::vector<bool>{false});
    }
    else
    {
        WriteConfigurationWithSerialBinaryProtocol write(1);
        LoadStoredDefaultsWithSerialBinaryProtocol load;
        Exchange(write, transport_).ValidateResponse();
        Exchange(load, transport_).ValidateResponse();
        EXPECT_EQ(simulator_.Snapshot().configuration.writes, std::vector<bool>{true});
    }
    EXPECT_EQ(simulator_.Snapshot().configuration.defaultLoads, 1u);
    EXPECT_EQ(ReadAll(GetParam(), transport_).Block3,
              ReaderConfigurationBlock3::FromVector({0xD2, 1, 2, 3, 4, 5, 6, 7}));
}

PyxTest::Sim::ConfigurationSection::Blocks Filled(std::uint8_t value)
{
    PyxTest::Sim::ConfigurationSection::Blocks blocks{};
    for (auto& block : blocks)
    {
        block.fill(value);
    }
    return blocks;
}

TEST(ConfigurationOnSimulatedReader, CopiesMoveWholeConfigurationsOnEveryProtocol)
{
    using Copy = PyxTest::Sim::ConfigurationSection::Copy;
    ReaderSimulator simulator;
    simulator.Update(
        [](ReaderModel& model)
        {
            model.configuration.active = 1;
            model.configuration.configurations[1] = Filled(0xAA);
            model.configuration.locations[1] = Filled(0x22);
            model.configuration.locations[2] = Filled(0xFD);
        });

    // FeatureReport may bring the factory defaults back into RAM, the active configuration.
    SimulatorTransport featureReport(simulator, Protocol::FeatureReport);
    CopyConfigurationWithFeatureReportProtocol fromFactory(Loc::FactoryDefaults, Loc::RAM, 5, 6);
    Exchange(fromFactory, featureReport).ValidateResponse();
    EXPECT_EQ(simulator.Snapshot().configuration.configurations[1], Filled(0xFD));

    // SerialBinary: RAM to location 2, with the pause before the reply read.
    SimulatorTransport serialBinary(simulator, Protocol::SerialBinary);
    auto delay = std::make_unique<PyxTest::RecordingTimeDelay>();
    auto* waits = delay.get();
    CopyConfigurationWithSerialBinaryProtocol toSecond(Loc::RAM, Loc::Stored2, 7, 8, std::move(delay));
    Exchange(toSecond, serialBinary).ValidateResponse();
    EXPECT_EQ(simulator.Snapshot().configuration.locations[1], Filled(0xFD));
    EXPECT_EQ(waits->WaitsInMilliseconds(), std::vector<int>{50});

    // Mfp24: location 2 back to RAM.
    simulator.Update([](ReaderModel& model) { model.configuration.locations[1] = Filled(0x33); });
    SimulatorTransport mfp24(simulator, Protocol::Mfp24);
    CopyConfigurationWithMfp24Protocol fromSecond(Loc::Stored2, Loc::RAM);
    Exchange(fromSecond, mfp24).ValidateResponse();
    EXPECT_EQ(simulator.Snapshot().configuration.configurations[1], Filled(0x33));

    EXPECT_EQ(simulator.Snapshot().configuration.copies,
              (std::vector<Copy>{{3, 0, 5, 6}, {0, 2, 7, 8}, {2, 0, 0, 0}}));
}

std::string MessageOf(const std::function<void()>& run)
{
    try
    {
        run();
    }
    catch (const ProtocolException& e)
    {
        return e.GetMessage();
    }
    return "no exception";
}

// Requests the reader refuses (the visitors never send them) come back as the commands' failures.
TEST(ConfigurationOnSimulatedReader, SerialBinaryRefusalsAreReportedNotSwallowed)
{
    ReaderSimulator simulator;
    SimulatorTransport transport(simulator, Protocol::SerialBinary);
    EXPECT_EQ(MessageOf(
                  [&]
                  {
                      SetActiveConfigurationWithSerialBinaryProtocol command(9);
                      Exchange(command, transport).ValidateResponse();
                  }),
              "Invalid ACK data received from reader after SetActiveConfiguration command");
    EXPECT_EQ(MessageOf(
                  [&]
                  {
                      CopyConfigurationWithSerialBinaryProtocol command(
                          Loc::FactoryDefaults, Loc::RAM, 0, 0,
                          std::make_unique<PyxTest::RecordingTimeDelay>());
                      Exchange(command, transport).ValidateResponse();
                  }),
              "Response from reader did not match expected response for CopyConfiguration command.");
    EXPECT_EQ(simulator.Snapshot().configuration.active, 0);
    EXPECT_TRUE(simulator.Snapshot().configuration.copies.empty());
}

TEST(ConfigurationOnSimulatedReader, SerialBinaryBlockReplyFaultsAreRefused)
{
    using PyxTest::Sim::Fault;
    ReaderSimulator simulator;
    SimulatorTransport transport(simulator, Protocol::SerialBinary);
    const std::string invalidGet =
        "Invalid ACK data received from reader after Get Configuration block 4 command";
    struct Case
    {
        const char* what;
        Fault fault;
        std::string message;
    };
    const Case cases[] = {
        {"wrong echo", Fault::WrongEcho({0xFA, 0x01, 0x03}), invalidGet},
        {"status word", Fault::Status({0xFA, 0x01, 0x03}, 0x62, 0x00), invalidGet},
        {"cut to the block", Fault::ShortReply({0xFA, 0x01, 0x03}, 9), invalidGet},
        {"silence", Fault::Silent({0xFA, 0x01, 0x03}),
         "Get Configuration block 4 command response was empty."},
    };
    for (const auto& c : cases)
    {
        simulator.Arm(c.fault);
        EXPECT_EQ(MessageOf(
                      [&]
                      {
                          GetConfigurationBlock4WithSerialBinaryProtocol command;
                          Read(command, transport);
                      }),
                  c.message)
            << c.what;
        EXPECT_FALSE(simulator.FaultsPending()) << c.what;
    }
}
} // namespace
