// The configuration commands through the real USB HID transport (hidapi on a umockdev node), with the
// reader simulator answering.
#include <gtest/gtest.h>

#include <vector>

#include "Commands/WithFeatureReportProtocol/CopyConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/LoadStoredDefaultsWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetActiveConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock2WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/SetConfigurationBlock5WithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/WriteConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/CopyConfigurationWithMfp24Protocol.h"
#include "SimulatedReaderTest.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Sim::Bytes;
using PyxTest::Sim::ConfigurationSection;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;

using ConfigurationOverUsbHid = PyxTest::SimulatedReaderTest<>;

ConfigurationSection::Blocks Filled(std::uint8_t value)
{
    ConfigurationSection::Blocks blocks{};
    for (auto& block : blocks)
    {
        block.fill(value);
    }
    return blocks;
}

TEST_F(ConfigurationOverUsbHid, BlocksWrittenAsTwoReportsReadBackFromTheSelectedConfiguration)
{
    Open(Protocol::FeatureReport);
    SetActiveConfigurationWithFeatureReportProtocol select(3);
    select.Execute(*transport_);

    const auto block2 = ReaderConfigurationBlock2::FromVector({0xDE, 0xAD, 20, 10, 25, 25, 0x03, 0x1F});
    ReaderConfigurationBlock5 block5;
    block5.CardType = 0x1234;
    block5.__ = 0xFF;
    SetConfigurationBlock2WithFeatureReportProtocol set2(block2);
    SetConfigurationBlock5WithFeatureReportProtocol set5(block5);
    set2.Execute(*transport_);
    set5.Execute(*transport_);

    GetConfigurationBlock2WithFeatureReportProtocol get2;
    GetConfigurationBlock5WithFeatureReportProtocol get5;
    get2.Execute(*transport_);
    get5.Execute(*transport_);
    EXPECT_EQ(get2.GetResult(), block2);
    EXPECT_EQ(get5.GetResult(), block5);

    const auto model = simulator_.Snapshot().configuration;
    EXPECT_EQ(model.active, 3);
    EXPECT_EQ(model.configurations[3][4], (ConfigurationSection::Block{0x00, 0x34, 0x12, 0, 0, 0, 0, 0xFF}));
    EXPECT_EQ(simulator_.Received(Protocol::FeatureReport),
              (std::vector<Bytes>{{0x89, 0x81, 0x03, 0, 0, 0, 0, 0},
                                  {0x81, 0, 0, 0, 0, 0, 0, 0},
                                  {0xDE, 0xAD, 20, 10, 25, 25, 0x03, 0x1F},
                                  {0x84, 0, 0, 0, 0, 0, 0, 0},
                                  {0x00, 0x34, 0x12, 0, 0, 0, 0, 0xFF},
                                  {0x81, 0, 0, 0, 0, 0, 0, 0},
                                  {0x84, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST_F(ConfigurationOverUsbHid, ActiveConfigurationStoreLoadAndCopy)
{
    simulator_.Update(
        [](ReaderModel& model)
        {
            model.configuration.active = 2;
            model.configuration.field16 = 0xA55A;
            model.configuration.storedDefaults = Filled(0x5D);
            model.configuration.locations[2] = Filled(0xFD);
        });
    Open(Protocol::FeatureReport);

    GetActiveConfigurationWithFeatureReportProtocol information;
    information.Execute(*transport_);
    information.ValidateResponse();
    EXPECT_EQ(information.GetResult(), (ActiveConfigurationInformation{2, 4, 0xA55A, 0x07}));

    WriteConfigurationWithFeatureReportProtocol write;
    write.Execute(*transport_);
    LoadStoredDefaultsWithFeatureReportProtocol load;
    load.Execute(*transport_);
    EXPECT_EQ(simulator_.Snapshot().configuration.configurations[2], Filled(0x5D));

    CopyConfigurationWithFeatureReportProtocol copy(ConfigurationLocation::FactoryDefaults,
                                                    ConfigurationLocation::RAM, 0, 0);
    copy.Execute(*transport_);
    copy.ValidateResponse();
    const auto model = simulator_.Snapshot().configuration;
    EXPECT_EQ(model.configurations[2], Filled(0xFD));
    EXPECT_EQ(model.writes, std::vector<bool>{false});
    EXPECT_EQ(model.defaultLoads, 1u);
}

TEST_F(ConfigurationOverUsbHid, Mfp24CopyIsAnsweredWithItsLetter)
{
    simulator_.Update([](ReaderModel& model) { model.configuration.locations[0] = Filled(0x11); });
    Open(Protocol::Mfp24);
    CopyConfigurationWithMfp24Protocol copy(ConfigurationLocation::Stored1, ConfigurationLocation::RAM);
    copy.Execute(*transport_);
    copy.ValidateResponse();
    EXPECT_EQ(simulator_.Received(Protocol::Mfp24), std::vector<Bytes>{PyxTest::Sim::Mfp24Line("FR")});
    EXPECT_EQ(simulator_.Snapshot().configuration.configurations[0], Filled(0x11));
}

TEST_F(ConfigurationOverUsbHid, WrongCopyEchoIsRefused)
{
    Open(Protocol::FeatureReport);
    simulator_.Arm(PyxTest::Sim::Fault::WrongEcho({0x89, 0x82}));
    CopyConfigurationWithFeatureReportProtocol copy(ConfigurationLocation::RAM,
                                                    ConfigurationLocation::Stored1, 0, 0);
    copy.Execute(*transport_);
    EXPECT_EQ(FailureOf([&] { copy.ValidateResponse(); }),
              "Response from reader did not match expected response for CopyConfiguration command.");
}
} // namespace
