#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RecordingTimeDelay.h"
#include "Visitors/BeepVisitor.h"
#include "Visitors/ConfigureModuleStateVisitor.h"
#include "Visitors/CopyConfigurationVisitor.h"
#include "Visitors/EnableTransparentModeVisitor.h"
#include "Visitors/GetActiveConfigurationVisitor.h"
#include "Visitors/GetBeeperVolumeVisitor.h"
#include "Visitors/GetBleBlobVisitor.h"
#include "Visitors/GetBlobVisitor.h"
#include "Visitors/GetBluetoothFirmwareVersionVisitor.h"
#include "Visitors/GetCardAnalyzerStatusVisitor.h"
#include "Visitors/GetCardReadPayloadVisitor.h"
#include "Visitors/GetConfigurationBlock1Visitor.h"
#include "Visitors/GetConfigurationBlock2Visitor.h"
#include "Visitors/GetConfigurationBlock3Visitor.h"
#include "Visitors/GetConfigurationBlock4Visitor.h"
#include "Visitors/GetConfigurationBlock5Visitor.h"
#include "Visitors/GetControlFirmwareVersionVisitor.h"
#include "Visitors/GetESNVisitor.h"
#include "Visitors/GetExtendedConfigurationVisitor.h"
#include "Visitors/GetInstalledHardwareVisitor.h"
#include "Visitors/GetLuidVisitor.h"
#include "Visitors/GetPartNumberVisitor.h"
#include "Visitors/GetQueuedIdVisitor.h"
#include "Visitors/GetRadioFirmwareVersionVisitor.h"
#include "Visitors/GetSamFirmwareVersionVisitor.h"
#include "Visitors/GetStringVisitor.h"
#include "Visitors/GetSupportedCardsVisitor.h"
#include "Visitors/GetTransparentModeStatusVisitor.h"
#include "Visitors/LoadStoredDefaultsVisitor.h"
#include "Visitors/SetActiveConfigurationVisitor.h"
#include "Visitors/SetBeeperVolumeVisitor.h"
#include "Visitors/SetBleBlobVisitor.h"
#include "Visitors/SetBlobVisitor.h"
#include "Visitors/SetConfigurationBlock1Visitor.h"
#include "Visitors/SetConfigurationBlock2Visitor.h"
#include "Visitors/SetConfigurationBlock3Visitor.h"
#include "Visitors/SetConfigurationBlock4Visitor.h"
#include "Visitors/SetConfigurationBlock5Visitor.h"
#include "Visitors/SetExtendedConfigurationVisitor.h"
#include "Visitors/SetLuidVisitor.h"
#include "Visitors/WriteConfigurationVisitor.h"

// Visitors built with arguments that pass their rules, for tests that only care which exchange they start.
namespace PyxTest
{
using PyxProtocol::CommandVisitor;
using Bytes = std::vector<std::uint8_t>;
using VisitorFactory = std::function<std::unique_ptr<CommandVisitor>()>;

// Waits of the visitors and commands that pace an exchange go to a recording delay, never to the clock.
inline std::unique_ptr<PyxCommon::TimeDelay> NoWait()
{
    return std::make_unique<RecordingTimeDelay>();
}

// A header and an empty configuration that pass every check.
inline PyxCommon::ExtendedConfiguration ValidExtendedConfiguration()
{
    PyxCommon::ExtendedConfiguration configuration;
    configuration.FieldSeparatorDataHeader = {1, 4, 4, 0, 2, 0, 16};
    configuration.ApplicationData.MaxBitCount = 64;
    return configuration;
}

inline PyxCommon::BlobHeader BlobHeaderOf(std::uint16_t length)
{
    PyxCommon::BlobHeader header;
    header.BlobType = 0x21;
    header.DataLength = length;
    return header;
}

struct NamedFactory
{
    std::string operation;
    VisitorFactory make;
};

// All 41 operations, in the order of the facade's operation list.
inline std::vector<NamedFactory> AllOperations()
{
    using namespace PyxProtocol;
    const auto module = static_cast<FirmwareVersionModuleType>(0);
    return {
        {"Beep", [] { return std::make_unique<BeepVisitor>(2, BEEP_DURATION::BEEP_SHORT); }},
        {"GetActiveConfiguration", [] { return std::make_unique<GetActiveConfigurationVisitor>(); }},
        {"GetBeeperVolume", [] { return std::make_unique<GetBeeperVolumeVisitor>(); }},
        {"GetTransparentModeStatus", [] { return std::make_unique<GetTransparentModeStatusVisitor>(); }},
        {"EnableTransparentMode", [] { return std::make_unique<EnableTransparentModeVisitor>(true); }},
        {"GetBluetoothFirmwareVersion",
         [=] { return std::make_unique<GetBluetoothFirmwareVersionVisitor>(module); }},
        {"GetCardReadPayload",
         [] {
             return std::make_unique<GetCardReadPayloadVisitor>(
                 GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES);
         }},
        {"GetConfigurationBlock1", [] { return std::make_unique<GetConfigurationBlock1Visitor>(); }},
        {"GetConfigurationBlock2", [] { return std::make_unique<GetConfigurationBlock2Visitor>(); }},
        {"GetConfigurationBlock3", [] { return std::make_unique<GetConfigurationBlock3Visitor>(); }},
        {"GetConfigurationBlock4", [] { return std::make_unique<GetConfigurationBlock4Visitor>(); }},
        {"GetConfigurationBlock5", [] { return std::make_unique<GetConfigurationBlock5Visitor>(); }},
        {"GetControlFirmwareVersion",
         [=] { return std::make_unique<GetControlFirmwareVersionVisitor>(module); }},
        {"GetRadioFirmwareVersion", [=] { return std::make_unique<GetRadioFirmwareVersionVisitor>(module); }},
        {"GetSamFirmwareVersion",
         [] { return std::make_unique<GetSamFirmwareVersionVisitor>(FirmwareVersionModuleType::SamHidSe); }},
        {"GetESN", [] { return std::make_unique<GetESNVisitor>(); }},
        {"GetPartNumber", [] { return std::make_unique<GetPartNumberVisitor>(); }},
        {"GetString", [] { return std::make_unique<GetStringVisitor>(GetStringIndex::String1); }},
        {"GetInstalledHardware", [] { return std::make_unique<GetInstalledHardwareVisitor>(); }},
        {"GetLuid", [] { return std::make_unique<GetLuidVisitor>(); }},
        {"SetLuid", [] { return std::make_unique<SetLuidVisitor>(0x1234); }},
        {"GetQueuedId",
         [] { return std::make_unique<GetQueuedIdVisitor>(QueuedIdFlagParameters::QUEUED_ID_FLAGS_NONE); }},
        {"GetSupportedCards", [] { return std::make_unique<GetSupportedCardsVisitor>(); }},
        {"GetCardAnalyzerStatus", [] { return std::make_unique<GetCardAnalyzerStatusVisitor>(); }},
        {"ConfigureModuleState",
         []
         {
             return std::make_unique<ConfigureModuleStateVisitor>(
                 ReaderModuleAction::Set, static_cast<ReaderModuleId>(3), static_cast<ReaderModuleState>(1));
         }},
        {"SetBeeperVolume", [] { return std::make_unique<SetBeeperVolumeVisitor>(BeepVolume::VOLUME_2); }},
        {"SetActiveConfiguration", [] { return std::make_unique<SetActiveConfigurationVisitor>(1); }},
        {"WriteConfiguration", [] { return std::make_unique<WriteConfigurationVisitor>(1); }},
        {"LoadStoredDefaults", [] { return std::make_unique<LoadStoredDefaultsVisitor>(NoWait()); }},
        {"CopyConfiguration",
         []
         {
             return std::make_unique<CopyConfigurationVisitor>(ConfigurationLocation::Stored1,
                                                               ConfigurationLocation::RAM, 0, 0, NoWait());
         }},
        {"SetConfigurationBlock1",
         [] { return std::make_unique<SetConfigurationBlock1Visitor>(ReaderConfigurationBlock1{}); }},
        {"SetConfigurationBlock2",
         [] { return std::make_unique<SetConfigurationBlock2Visitor>(ReaderConfigurationBlock2{}); }},
        {"SetConfigurationBlock3",
         [] { return std::make_unique<SetConfigurationBlock3Visitor>(ReaderConfigurationBlock3{}); }},
        {"SetConfigurationBlock4",
         [] { return std::make_unique<SetConfigurationBlock4Visitor>(ReaderConfigurationBlock4{}); }},
        {"SetConfigurationBlock5",
         [] { return std::make_unique<SetConfigurationBlock5Visitor>(ReaderConfigurationBlock5{}); }},
        {"GetExtendedConfiguration", [] { return std::make_unique<GetExtendedConfigurationVisitor>(); }},
        {"SetExtendedConfiguration",
         []
         {
             return std::make_unique<SetExtendedConfigurationVisitor>(ValidExtendedConfiguration(),
                                                                      PyxCommon::HashData{});
         }},
        {"GetBlob", [] { return std::make_unique<GetBlobVisitor>(BlobHeaderOf(8)); }},
        {"SetBlob",
         [] { return std::make_unique<SetBlobVisitor>(BlobHeaderOf(8), Bytes(8, 0x5A), NoWait()); }},
        {"GetBleBlob",
         [] { return std::make_unique<GetBleBlobVisitor>(PyxCommon::BleDataType::Data, NoWait()); }},
        {"SetBleBlob",
         [] {
             return std::make_unique<SetBleBlobVisitor>(PyxCommon::BleDataType::Key, Bytes(128, 0x11),
                                                        NoWait());
         }},
    };
}
} // namespace PyxTest
