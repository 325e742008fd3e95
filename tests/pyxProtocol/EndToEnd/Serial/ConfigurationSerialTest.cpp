// The SerialBinary configuration commands through the real serial transport on a pseudo-terminal, with the
// reader simulator answering on the master side.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../SimulatedReaderTest.h"
#include "Commands/WithSerialBinaryProtocol/CopyConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/LoadStoredDefaultsWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetActiveConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock1WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetConfigurationBlock4WithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/WriteConfigurationWithSerialBinaryProtocol.h"
#include "RecordingTimeDelay.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Sim::Bytes;
using PyxTest::Sim::ConfigurationSection;
using PyxTest::Sim::Fault;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;

class ConfigurationOverSerial : public PyxTest::SimulatedReaderTest<>
{
protected:
    void SetUp() override { Open(Protocol::SerialBinary); }

    template <typename C> C& Run(C& command)
    {
        command.Execute(*transport_);
        command.ValidateResponse();
        return command;
    }
};

TEST_F(ConfigurationOverSerial, BlocksOfTheSelectedConfigurationTravelBothWays)
{
    SetActiveConfigurationWithSerialBinaryProtocol select(1);
    Run(select);
    const auto block1 =
        ReaderConfigurationBlock1::FromVector({0x1A, 0x1A, 0xF3, 0x20, 0x28, 0x2C, 0x0D, 0x81});
    const auto block4 =
        ReaderConfigurationBlock4::FromVector({0x7F, 0xC8, 0xFC, 0x01, 0x02, 0xFE, 0x05, 0x5A});
    SetConfigurationBlock1WithSerialBinaryProtocol set1(block1);
    SetConfigurationBlock4WithSerialBinaryProtocol set4(block4);
    Run(set1);
    Run(set4);

    GetConfigurationBlock1WithSerialBinaryProtocol get1;
    GetConfigurationBlock4WithSerialBinaryProtocol get4;
    EXPECT_EQ(Run(get1).GetResult(), block1);
    EXPECT_EQ(Run(get4).GetResult(), block4);
    const auto model = simulator_.Snapshot().configuration;
    EXPECT_EQ(model.active, 1);
    EXPECT_EQ(model.configurations[1][3],
              (ConfigurationSection::Block{0x7F, 0xC8, 0xFC, 0x01, 0x02, 0xFE, 0x05, 0x5A}));
}

TEST_F(ConfigurationOverSerial, ActiveConfigurationStoreLoadAndCopyWithItsPause)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.configuration.field16 = 0x0102;
            model.configuration.storedDefaults[0].fill(0x5D);
        });
    GetActiveConfigurationWithSerialBinaryProtocol information;
    EXPECT_EQ(Run(information).GetResult(), (ActiveConfigurationInformation{0, 4, 0x0102, 0x07}));

    WriteConfigurationWithSerialBinaryProtocol write(1);
    Run(write);
    LoadStoredDefaultsWithSerialBinaryProtocol load;
    Run(load);

    auto delay = std::make_unique<PyxTest::RecordingTimeDelay>();
    auto* waits = delay.get();
    CopyConfigurationWithSerialBinaryProtocol copy(ConfigurationLocation::RAM, ConfigurationLocation::Stored2,
                                                   1, 2, std::move(delay));
    Run(copy);
    EXPECT_EQ(waits->WaitsInMilliseconds(), std::vector<int>{50});

    const auto model = simulator_.Snapshot().configuration;
    EXPECT_EQ(model.writes, std::vector<bool>{true});
    EXPECT_EQ(model.defaultLoads, 1u);
    EXPECT_EQ(model.locations[1][0],
              (ConfigurationSection::Block{0x5D, 0x5D, 0x5D, 0x5D, 0x5D, 0x5D, 0x5D, 0x5D}));
    EXPECT_EQ(model.copies, (std::vector<ConfigurationSection::Copy>{{0, 2, 1, 2}}));
}

TEST_F(ConfigurationOverSerial, ReaderFailuresArriveAsTheCommandsMessages)
{
    auto messageOf = [this](auto&& command)
    {
        try
        {
            Run(command);
        }
        catch (const ProtocolException& e)
        {
            return e.GetMessage();
        }
        return std::string("no exception");
    };
    simulator_.Arm(Fault::Status({0xFA, 0x01, 0x00}, 0x62, 0x00));
    EXPECT_EQ(messageOf(GetConfigurationBlock1WithSerialBinaryProtocol{}),
              "Invalid ACK data received from reader after Get Configuration block 1 command");
    simulator_.Arm(Fault::ShortReply({0xFA, 0x81, 0x03}, 2));
    EXPECT_EQ(messageOf(SetConfigurationBlock4WithSerialBinaryProtocol{ReaderConfigurationBlock4{}}),
              "Invalid ACK data received from reader after SetConfigurationBlock4 command");
    simulator_.Arm(Fault::Silent({0xFA, 0x03}));
    EXPECT_EQ(messageOf(LoadStoredDefaultsWithSerialBinaryProtocol{}),
              "LoadStoredDefaults command response was empty.");
    EXPECT_FALSE(simulator_.FaultsPending());
}
} // namespace
