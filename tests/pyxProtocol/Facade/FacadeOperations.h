#pragma once

// Every facade operation with arguments that pass its rules. Where the facade itself shapes the output (a
// composite, a selector, a copy-out, a written-back or replaced argument) the entry checks it on success.
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
using F = PyxProtocol::ProtocolFacade;
using S = PyxTest::Sim::ReaderSimulator;
using Result = ProtocolCommandResult;

struct FacadeOperation
{
    std::string name;
    std::function<Result(F&, S&)> run;
};

template <typename Record> Record Marked()
{
    Record record;
    std::memset(static_cast<void*>(&record), 0xEE, sizeof record);
    return record;
}

// Runs `check` when the operation succeeded; returns its result either way.
inline Result IfDone(const Result& result, const std::function<void()>& check)
{
    if (!result.HasException)
    {
        check();
    }
    return result;
}

// Configuration 2 holds bytes 0 to 39 and all three secure modules answer, so reads show where they came
// from.
inline void PrepareReader(S& simulator)
{
    simulator.Update(
        [](PyxTest::Sim::ReaderModel& model)
        {
            for (std::size_t i = 0; i < 40; ++i)
            {
                model.configuration.configurations[2][i / 8][i % 8] = static_cast<std::uint8_t>(i);
            }
            model.firmware.versions[{0x04, 0x01}] = {0xB1, 0xB2, 0xB3, 0xB4};
            model.firmware.versions[{0x04, 0x03}] = {0xC1, 0xC2, 0xC3, 0xC4};
        });
}

inline constexpr auto kModule = PyxProtocol::FirmwareVersionModuleType::SamHidSe;

// An operation that fills one output of type T, given a fresh one.
template <typename T, typename Call> std::function<Result(F&, S&)> With(Call call)
{
    return [call](F& f, S&)
    {
        T out{};
        return call(f, out);
    };
}

inline std::vector<FacadeOperation> AllFacadeOperations()
{
    using namespace PyxProtocol;
    using PyxTest::Bytes;
    using Version = MicrocontrollerFirmwareVersion;
    // Each secure-module kind asks for the module of its own selector.
    const auto sam = [](Result (F::*get)(Version&), std::uint8_t selector)
    {
        return With<Version>([=](F& f, Version& v)
                             { return IfDone((f.*get)(v), [&] { EXPECT_EQ(v.ModuleType, selector); }); });
    };
    // Text results go to a buffer; their copy-out is checked on its own.
    const auto text = [](Result (F::*get)(char*, std::size_t))
    {
        return [=](F& f, S&)
        {
            char b[64];
            return (f.*get)(b, sizeof b);
        };
    };
    return {
        {"Beep", [](F& f, S&) { return f.Beep(2, BEEP_DURATION::BEEP_LONG); }},
        {"ConfigureModuleState", With<ReaderModuleState>(
                                     [](F& f, ReaderModuleState& state)
                                     {
                                         return IfDone(f.ConfigureModuleState(ReaderModuleAction::Get,
                                                                              ReaderModuleId{3}, state),
                                                       [&] { EXPECT_EQ(static_cast<int>(state), 2); });
                                     })},
        {"CopyConfiguration", [](F& f, S&)
         { return f.CopyConfiguration(ConfigurationLocation::Stored1, ConfigurationLocation::RAM, 0, 0); }},
        {"EnableTransparentMode", [](F& f, S&) { return f.EnableTransparentMode(true); }},
        {"GetActiveConfiguration",
         [](F& f, S& s)
         {
             auto info = Marked<ActiveConfigurationInformation>();
             return IfDone(f.GetActiveConfiguration(info),
                           [&] { EXPECT_EQ(info.ActiveConfiguration, s.Snapshot().configuration.active); });
         }},
        {"GetBeeperVolume", With<BeepVolume>([](F& f, auto& v) { return f.GetBeeperVolume(v); })},
        {"GetBleBlob",
         With<Bytes>([](F& f, auto& v) { return f.GetBleBlob(PyxCommon::BleDataType::Key, v); })},
        {"GetBlob", With<Bytes>([](F& f, auto& v) { return f.GetBlob(PyxTest::BlobHeaderOf(8), v); })},
        {"GetBluetoothFirmwareVersion",
         With<BluetoothFirmwareVersion>([](F& f, auto& v)
                                        { return f.GetBluetoothFirmwareVersion(v, kModule); })},
        {"GetCardAnalyzerStatus",
         With<CardAnalyzerStatus>([](F& f, auto& v) { return f.GetCardAnalyzerStatus(v); })},
        {"GetCardReadPayload",
         With<CardReadPayload>(
             [](F& f, auto& v)
             { return f.GetCardReadPayload(GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES, v); })},
        {"GetConfiguration",
         [](F& f, S&)
         {
             auto configuration = Marked<ReaderConfiguration>();
             const auto before = configuration;
             const Result result = f.GetConfiguration(2, configuration);
             // Written whole on success (block 5 ends in byte 39), untouched on failure.
             EXPECT_EQ(std::memcmp(&configuration, &before, sizeof before) == 0, result.HasException);
             return IfDone(
                 result,
                 [&] { EXPECT_EQ(ReaderConfigurationBlock5::ToVector(configuration.Block5).back(), 39); });
         }},
        {"GetConfigurationBlock1",
         With<ReaderConfigurationBlock1>([](F& f, auto& v) { return f.GetConfigurationBlock1(v); })},
        {"GetConfigurationBlock2",
         With<ReaderConfigurationBlock2>([](F& f, auto& v) { return f.GetConfigurationBlock2(v); })},
        {"GetConfigurationBlock3",
         With<ReaderConfigurationBlock3>([](F& f, auto& v) { return f.GetConfigurationBlock3(v); })},
        {"GetControlFirmwareVersion",
         With<Version>([](F& f, auto& v) { return f.GetControlFirmwareVersion(v, kModule); })},
        {"GetDeviceId", With<PyxCommon::DeviceId>([](F& f, auto& v) { return f.GetDeviceId(v); })},
        {"GetESN", text(&F::GetESN)},
        {"GetExtendedConfiguration",
         With<PyxCommon::ExtendedConfiguration>([](F& f, auto& v) { return f.GetExtendedConfiguration(v); })},
        {"GetFelicaSamFirmwareVersion", sam(&F::GetFelicaSamFirmwareVersion, 3)},
        {"GetHidSeSamFirmwareVersion", sam(&F::GetHidSeSamFirmwareVersion, 0)},
        {"GetInstalledHardware",
         With<InstalledHardwareInformation>([](F& f, auto& v) { return f.GetInstalledHardware(v); })},
        {"GetLuid", With<LuidResponseInformation>([](F& f, auto& v) { return f.GetLuid(v); })},
        {"GetNxpAvxSamFirmwareVersion", sam(&F::GetNxpAvxSamFirmwareVersion, 1)},
        {"GetPartNumber", text(&F::GetPartNumber)},
        {"GetQueuedId",
         With<QueuedIdInformation>(
             [](F& f, auto& v) { return f.GetQueuedId(QueuedIdFlagParameters::QUEUED_ID_FLAGS_NONE, v); })},
        {"GetRadioFirmwareVersion",
         With<Version>([](F& f, auto& v) { return f.GetRadioFirmwareVersion(v, kModule); })},
        {"GetString",
         [](F& f, S&)
         {
             char b[64];
             return IfDone(f.GetString(b, sizeof b, GetStringIndex::String7),
                           [&] { EXPECT_STREQ(b, "Firmware 1.2.3"); });
         }},
        {"GetSupportedCards",
         [](F& f, S& s)
         {
             std::vector<std::uint16_t> cards{0xDEAD, 0xBEEF};
             return IfDone(f.GetSupportedCards(cards),
                           [&] { EXPECT_EQ(cards, s.Snapshot().supportedCards.codes); });
         }},
        {"GetTransparentModeStatus",
         With<TransparentModeStatusInformation>([](F& f, auto& v) { return f.GetTransparentModeStatus(v); })},
        {"LoadStoredDefaults", [](F& f, S&) { return f.LoadStoredDefaults(); }},
        {"SetActiveConfiguration", [](F& f, S&) { return f.SetActiveConfiguration(1); }},
        {"SetBeeperVolume", [](F& f, S&) { return f.SetBeeperVolume(BeepVolume::VOLUME_3); }},
        {"SetBleBlob", [](F& f, S&) { return f.SetBleBlob(PyxCommon::BleDataType::Key, Bytes(128, 0x11)); }},
        {"SetBlob", [](F& f, S&) { return f.SetBlob(PyxTest::BlobHeaderOf(8), Bytes(8, 0x5A)); }},
        {"SetConfiguration",
         [](F& f, S& s)
         {
             // Selects configuration 3 first, then writes all five blocks into it.
             return IfDone(f.SetConfiguration(3, ReaderConfiguration{}),
                           [&]
                           {
                               const auto model = s.Snapshot();
                               const auto& block5 = model.configuration.configurations[3][4];
                               EXPECT_EQ(model.configuration.active, 3);
                               EXPECT_EQ(Bytes(block5.begin(), block5.end()),
                                         ReaderConfigurationBlock5::ToVector(ReaderConfigurationBlock5{}));
                           });
         }},
        {"SetConfigurationBlock1",
         [](F& f, S&) { return f.SetConfigurationBlock1(1, ReaderConfigurationBlock1{}); }},
        {"SetConfigurationBlock3",
         [](F& f, S& s)
         {
             return IfDone(f.SetConfigurationBlock3(2, ReaderConfigurationBlock3{}),
                           [&] { EXPECT_EQ(s.Snapshot().configuration.active, 2); });
         }},
        {"SetExtendedConfiguration",
         [](F& f, S&) {
             return f.SetExtendedConfiguration(PyxTest::ValidExtendedConfiguration(), PyxCommon::HashData{});
         }},
        {"SetLuid", [](F& f, S&) { return f.SetLuid(0x4321); }},
        {"WriteConfiguration", [](F& f, S&) { return f.WriteConfiguration(1); }},
    };
}

// Runs every operation once; each either succeeds with an exchange (GetDeviceId without one) or is refused
// with nothing sent. Returns the names of those that succeeded.
inline std::vector<std::string> RunEveryOperation(F& facade, S& simulator)
{
    PrepareReader(simulator);
    std::vector<std::string> succeeded;
    for (const FacadeOperation& operation : AllFacadeOperations())
    {
        SCOPED_TRACE(operation.name);
        simulator.ClearReceived();
        const Result result = operation.run(facade, simulator);
        EXPECT_EQ(simulator.Received().empty(), result.HasException || operation.name == "GetDeviceId");
        if (!result.HasException)
        {
            succeeded.push_back(operation.name);
        }
    }
    return succeeded;
}
} // namespace PyxFacadeTest
