#pragma once

// Every facade operation with arguments that pass its rules, each checking on success that its output is
// what the simulated reader holds (or that the reader now holds what was written).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../Visitors/VisitorFactories.h"
#include "ProtocolFacade.h"
#include "ReaderSimulator.h"

namespace PyxFacadeTest
{
using PyxProtocol::ProtocolFacade;
using PyxTest::Sim::ReaderModel;
using PyxTest::Sim::ReaderSimulator;

struct FacadeOperation
{
    std::string name;
    std::function<ProtocolCommandResult(ProtocolFacade&, ReaderSimulator&)> run;
};

template <typename Block>
Block BlockOf(const ReaderModel& model, std::size_t configuration, std::size_t index)
{
    const auto& bytes = model.configuration.configurations[configuration][index];
    return Block::FromVector(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

template <typename Block> std::vector<std::uint8_t> StoredBlock(const ReaderModel& model, std::size_t index)
{
    const auto& bytes = model.configuration.configurations[model.configuration.active][index];
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// Configuration 2 of the reader holds distinct bytes, so a read shows which configuration it came from.
inline void PrepareReader(ReaderSimulator& simulator)
{
    simulator.Update(
        [](ReaderModel& model)
        {
            for (std::size_t block = 0; block < 5; ++block)
            {
                for (std::size_t i = 0; i < 8; ++i)
                {
                    model.configuration.configurations[2][block][i] =
                        static_cast<std::uint8_t>(block * 8 + i);
                }
            }
            model.firmware.versions[{0x04, 0x01}] = {0xB1, 0xB2, 0xB3, 0xB4};
            model.firmware.versions[{0x04, 0x03}] = {0xC1, 0xC2, 0xC3, 0xC4};
        });
}

template <typename Record> Record Marked()
{
    Record record;
    std::memset(static_cast<void*>(&record), 0xEE, sizeof record);
    return record;
}

inline std::vector<FacadeOperation> AllFacadeOperations()
{
    using namespace PyxProtocol;
    using PyxTest::Bytes;
    const auto module = FirmwareVersionModuleType::SamHidSe;
    const auto samVersion = [](auto get, std::uint8_t type)
    {
        return [get, type](ProtocolFacade& facade, ReaderSimulator&)
        {
            MicrocontrollerFirmwareVersion version{};
            const ProtocolCommandResult result = (facade.*get)(version);
            if (!result.HasException)
            {
                // Each kind reads the module of its own selector.
                EXPECT_EQ(version.ModuleType, type);
            }
            return result;
        };
    };
    return {
        {"Beep",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const ProtocolCommandResult result = facade.Beep(2, BEEP_DURATION::BEEP_LONG);
             if (!result.HasException)
             {
                 EXPECT_EQ(simulator.Snapshot().beeper.beeps.back().count, 2);
             }
             return result;
         }},
        {"ConfigureModuleState",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             auto state = ReaderModuleState::Invalid;
             const ProtocolCommandResult result =
                 facade.ConfigureModuleState(ReaderModuleAction::Get, static_cast<ReaderModuleId>(3), state);
             if (!result.HasException)
             {
                 EXPECT_EQ(static_cast<int>(state), simulator.Snapshot().control.moduleStates.at(3));
             }
             return result;
         }},
        {"CopyConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator&) {
             return facade.CopyConfiguration(ConfigurationLocation::Stored1, ConfigurationLocation::RAM, 0,
                                             0);
         }},
        {"EnableTransparentMode",
         [](ProtocolFacade& facade, ReaderSimulator&) { return facade.EnableTransparentMode(true); }},
        {"GetActiveConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             auto information = Marked<ActiveConfigurationInformation>();
             const ProtocolCommandResult result = facade.GetActiveConfiguration(information);
             if (!result.HasException)
             {
                 EXPECT_EQ(information.ActiveConfiguration, simulator.Snapshot().configuration.active);
             }
             return result;
         }},
        {"GetBeeperVolume",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             auto volume = static_cast<BeepVolume>(0xEE);
             const ProtocolCommandResult result = facade.GetBeeperVolume(volume);
             if (!result.HasException)
             {
                 EXPECT_EQ(static_cast<int>(volume), simulator.Snapshot().beeper.volume);
             }
             return result;
         }},
        {"GetBleBlob",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             Bytes data;
             const ProtocolCommandResult result = facade.GetBleBlob(PyxCommon::BleDataType::Key, data);
             if (!result.HasException)
             {
                 const auto key = simulator.Snapshot().blob.bleKey;
                 EXPECT_EQ(data, Bytes(key.begin(), key.end()));
             }
             return result;
         }},
        {"GetBlob",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             Bytes data;
             const ProtocolCommandResult result = facade.GetBlob(PyxTest::BlobHeaderOf(8), data);
             if (!result.HasException)
             {
                 EXPECT_EQ(data.size(), 8u);
             }
             return result;
         }},
        {"GetBluetoothFirmwareVersion",
         [=](ProtocolFacade& facade, ReaderSimulator&)
         {
             BluetoothFirmwareVersion version{};
             return facade.GetBluetoothFirmwareVersion(version, module);
         }},
        {"GetCardAnalyzerStatus",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             CardAnalyzerStatus status{};
             return facade.GetCardAnalyzerStatus(status);
         }},
        {"GetCardReadPayload",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             CardReadPayload payload{};
             return facade.GetCardReadPayload(GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES, payload);
         }},
        {"GetConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             auto configuration = Marked<ReaderConfiguration>();
             const auto before = configuration;
             const ProtocolCommandResult result = facade.GetConfiguration(2, configuration);
             if (result.HasException)
             {
                 EXPECT_EQ(std::memcmp(&configuration, &before, sizeof before), 0);
                 return result;
             }
             const ReaderModel model = simulator.Snapshot();
             EXPECT_EQ(configuration.Block1, BlockOf<ReaderConfigurationBlock1>(model, 2, 0));
             EXPECT_EQ(configuration.Block2, BlockOf<ReaderConfigurationBlock2>(model, 2, 1));
             EXPECT_EQ(configuration.Block3, BlockOf<ReaderConfigurationBlock3>(model, 2, 2));
             EXPECT_EQ(configuration.Block4, BlockOf<ReaderConfigurationBlock4>(model, 2, 3));
             EXPECT_EQ(configuration.Block5, BlockOf<ReaderConfigurationBlock5>(model, 2, 4));
             return result;
         }},
        {"GetConfigurationBlock1",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             ReaderConfigurationBlock1 block{};
             const ProtocolCommandResult result = facade.GetConfigurationBlock1(block);
             if (!result.HasException)
             {
                 const ReaderModel model = simulator.Snapshot();
                 EXPECT_EQ(block, BlockOf<ReaderConfigurationBlock1>(model, model.configuration.active, 0));
             }
             return result;
         }},
        {"GetConfigurationBlock2",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             ReaderConfigurationBlock2 block{};
             const ProtocolCommandResult result = facade.GetConfigurationBlock2(block);
             if (!result.HasException)
             {
                 const ReaderModel model = simulator.Snapshot();
                 EXPECT_EQ(block, BlockOf<ReaderConfigurationBlock2>(model, model.configuration.active, 1));
             }
             return result;
         }},
        {"GetConfigurationBlock3",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             ReaderConfigurationBlock3 block{};
             const ProtocolCommandResult result = facade.GetConfigurationBlock3(block);
             if (!result.HasException)
             {
                 const ReaderModel model = simulator.Snapshot();
                 EXPECT_EQ(block, BlockOf<ReaderConfigurationBlock3>(model, model.configuration.active, 2));
             }
             return result;
         }},
        {"GetControlFirmwareVersion",
         [=](ProtocolFacade& facade, ReaderSimulator&)
         {
             MicrocontrollerFirmwareVersion version{};
             return facade.GetControlFirmwareVersion(version, module);
         }},
        {"GetDeviceId",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             auto deviceId = Marked<PyxCommon::DeviceId>();
             return facade.GetDeviceId(deviceId);
         }},
        {"GetESN",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             char buffer[64];
             const ProtocolCommandResult result = facade.GetESN(buffer, sizeof buffer);
             if (!result.HasException)
             {
                 EXPECT_EQ(std::string(buffer), simulator.Snapshot().identity.esn);
             }
             return result;
         }},
        {"GetExtendedConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             PyxCommon::ExtendedConfiguration configuration;
             return facade.GetExtendedConfiguration(configuration);
         }},
        {"GetFelicaSamFirmwareVersion", samVersion(&ProtocolFacade::GetFelicaSamFirmwareVersion, 3)},
        {"GetHidSeSamFirmwareVersion", samVersion(&ProtocolFacade::GetHidSeSamFirmwareVersion, 0)},
        {"GetInstalledHardware",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             InstalledHardwareInformation information{};
             return facade.GetInstalledHardware(information);
         }},
        {"GetLuid",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             LuidResponseInformation information{};
             const ProtocolCommandResult result = facade.GetLuid(information);
             if (!result.HasException)
             {
                 EXPECT_EQ(+information.Field32, simulator.Snapshot().identity.luid32);
             }
             return result;
         }},
        {"GetNxpAvxSamFirmwareVersion", samVersion(&ProtocolFacade::GetNxpAvxSamFirmwareVersion, 1)},
        {"GetPartNumber",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             char buffer[64];
             const ProtocolCommandResult result = facade.GetPartNumber(buffer, sizeof buffer);
             if (!result.HasException)
             {
                 EXPECT_EQ(std::string(buffer), simulator.Snapshot().identity.partNumber);
             }
             return result;
         }},
        {"GetQueuedId",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             QueuedIdInformation information{};
             return facade.GetQueuedId(QueuedIdFlagParameters::QUEUED_ID_FLAGS_NONE, information);
         }},
        {"GetRadioFirmwareVersion",
         [=](ProtocolFacade& facade, ReaderSimulator&)
         {
             MicrocontrollerFirmwareVersion version{};
             return facade.GetRadioFirmwareVersion(version, module);
         }},
        {"GetString",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             char buffer[64];
             const ProtocolCommandResult result =
                 facade.GetString(buffer, sizeof buffer, GetStringIndex::String7);
             if (!result.HasException)
             {
                 EXPECT_EQ(std::string(buffer), simulator.Snapshot().identity.strings.at(7));
             }
             return result;
         }},
        {"GetSupportedCards",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             std::vector<std::uint16_t> cards{0xDEAD, 0xBEEF};
             const ProtocolCommandResult result = facade.GetSupportedCards(cards);
             if (!result.HasException)
             {
                 EXPECT_EQ(cards, simulator.Snapshot().supportedCards.codes);
             }
             return result;
         }},
        {"GetTransparentModeStatus",
         [](ProtocolFacade& facade, ReaderSimulator&)
         {
             TransparentModeStatusInformation status{};
             return facade.GetTransparentModeStatus(status);
         }},
        {"LoadStoredDefaults",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const std::size_t loads = simulator.Snapshot().configuration.defaultLoads;
             const ProtocolCommandResult result = facade.LoadStoredDefaults();
             if (!result.HasException)
             {
                 EXPECT_EQ(simulator.Snapshot().configuration.defaultLoads, loads + 1);
             }
             return result;
         }},
        {"SetActiveConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const ProtocolCommandResult result = facade.SetActiveConfiguration(1);
             if (!result.HasException)
             {
                 EXPECT_EQ(simulator.Snapshot().configuration.active, 1);
             }
             return result;
         }},
        {"SetBeeperVolume",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const ProtocolCommandResult result = facade.SetBeeperVolume(BeepVolume::VOLUME_3);
             if (!result.HasException)
             {
                 EXPECT_EQ(simulator.Snapshot().beeper.volume, 3);
             }
             return result;
         }},
        {"SetBleBlob", [](ProtocolFacade& facade, ReaderSimulator&)
         { return facade.SetBleBlob(PyxCommon::BleDataType::Key, Bytes(128, 0x11)); }},
        {"SetBlob", [](ProtocolFacade& facade, ReaderSimulator&)
         { return facade.SetBlob(PyxTest::BlobHeaderOf(8), Bytes(8, 0x5A)); }},
        {"SetConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const ProtocolCommandResult result = facade.SetConfiguration(3, ReaderConfiguration{});
             if (!result.HasException)
             {
                 const ReaderModel model = simulator.Snapshot();
                 EXPECT_EQ(model.configuration.active, 3);
                 EXPECT_EQ(StoredBlock<ReaderConfigurationBlock1>(model, 0),
                           ReaderConfigurationBlock1::ToVector(ReaderConfigurationBlock1{}));
                 EXPECT_EQ(StoredBlock<ReaderConfigurationBlock5>(model, 4),
                           ReaderConfigurationBlock5::ToVector(ReaderConfigurationBlock5{}));
             }
             return result;
         }},
        {"SetConfigurationBlock1",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const ProtocolCommandResult result =
                 facade.SetConfigurationBlock1(1, ReaderConfigurationBlock1{});
             if (!result.HasException)
             {
                 EXPECT_EQ(simulator.Snapshot().configuration.active, 1);
             }
             return result;
         }},
        {"SetConfigurationBlock3",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const ProtocolCommandResult result =
                 facade.SetConfigurationBlock3(2, ReaderConfigurationBlock3{});
             if (!result.HasException)
             {
                 const ReaderModel model = simulator.Snapshot();
                 EXPECT_EQ(model.configuration.active, 2);
                 EXPECT_EQ(StoredBlock<ReaderConfigurationBlock3>(model, 2),
                           ReaderConfigurationBlock3::ToVector(ReaderConfigurationBlock3{}));
             }
             return result;
         }},
        {"SetExtendedConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator&) {
             return facade.SetExtendedConfiguration(PyxTest::ValidExtendedConfiguration(),
                                                    PyxCommon::HashData{});
         }},
        {"SetLuid",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const ProtocolCommandResult result = facade.SetLuid(0x4321);
             if (!result.HasException)
             {
                 EXPECT_EQ(simulator.Snapshot().identity.luidA, 0x4321);
             }
             return result;
         }},
        {"WriteConfiguration",
         [](ProtocolFacade& facade, ReaderSimulator& simulator)
         {
             const std::size_t writes = simulator.Snapshot().configuration.writes.size();
             const ProtocolCommandResult result = facade.WriteConfiguration(1);
             if (!result.HasException)
             {
                 EXPECT_EQ(simulator.Snapshot().configuration.writes.size(), writes + 1);
             }
             return result;
         }},
    };
}

// Runs every operation once on `facade`; an operation either succeeds with an exchange (GetDeviceId without
// one) or is refused with nothing sent. Returns the names of those that succeeded.
inline std::vector<std::string> RunEveryOperation(ProtocolFacade& facade, ReaderSimulator& simulator)
{
    PrepareReader(simulator);
    std::vector<std::string> succeeded;
    const auto operations = AllFacadeOperations();
    EXPECT_EQ(operations.size(), 41u);
    for (const FacadeOperation& operation : operations)
    {
        SCOPED_TRACE(operation.name);
        simulator.ClearReceived();
        const ProtocolCommandResult result = operation.run(facade, simulator);
        if (result.HasException)
        {
            EXPECT_TRUE(simulator.Received().empty()) << result.Message;
            EXPECT_NE(std::string(result.Message), "");
            continue;
        }
        EXPECT_EQ(simulator.Received().empty(), operation.name == "GetDeviceId");
        succeeded.push_back(operation.name);
    }
    return succeeded;
}
} // namespace PyxFacadeTest
