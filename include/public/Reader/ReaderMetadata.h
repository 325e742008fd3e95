#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "Operations/FirmwareVersion.h"
#include "PyxExport.h"

#pragma pack(push, 1)
// What one open reader reports about itself, exchanged whole with the C interface. Every text holds at most
// 511 characters and a zero byte; every item but the last six is followed by its present flag (0 or 1).
struct PYX_API ReaderMetadataStruct
{
    char MicrocontrollerName[512];
    std::uint8_t MicrocontrollerNamePresent;
    char HardwarePlatformText[512];
    std::uint8_t HardwarePlatformTextPresent;
    char DeviceIdText[512];
    std::uint8_t DeviceIdTextPresent;
    char PartNumber[512];
    std::uint8_t PartNumberPresent;
    char ProductLineText[512];
    std::uint8_t ProductLineTextPresent;
    std::uint32_t ConfigurationCount;
    std::uint8_t ConfigurationCountPresent;
    char ReaderString2[512];
    std::uint8_t ReaderString2Present;
    char Esn[512];
    std::uint8_t EsnPresent;
    char InstalledHardwareText[512];
    std::uint8_t InstalledHardwareTextPresent;
    char InstalledHardwareText2[512];
    std::uint8_t InstalledHardwareText2Present;
    // Support flags of modules 0-9, then installed flags of modules 0-7.
    std::uint8_t InstalledHardware[18];
    std::uint8_t InstalledHardwarePresent;
    char ReaderString7[512];
    std::uint8_t ReaderString7Present;
    char ReaderString4[512];
    std::uint8_t ReaderString4Present;
    PyxProtocol::MicrocontrollerFirmwareVersion ControlFirmwareVersion0;
    std::uint8_t ControlFirmwareVersion0Present;
    PyxProtocol::MicrocontrollerFirmwareVersion ControlFirmwareVersion1;
    std::uint8_t ControlFirmwareVersion1Present;
    PyxProtocol::MicrocontrollerFirmwareVersion ControlFirmwareVersion2;
    std::uint8_t ControlFirmwareVersion2Present;
    PyxProtocol::MicrocontrollerFirmwareVersion RadioFirmwareVersion0;
    std::uint8_t RadioFirmwareVersion0Present;
    PyxProtocol::MicrocontrollerFirmwareVersion RadioFirmwareVersion1;
    std::uint8_t RadioFirmwareVersion1Present;
    PyxProtocol::MicrocontrollerFirmwareVersion RadioFirmwareVersion2;
    std::uint8_t RadioFirmwareVersion2Present;
    PyxProtocol::BluetoothFirmwareVersion BluetoothFirmwareVersion;
    std::uint8_t BluetoothFirmwareVersionPresent;
    PyxProtocol::HidSeSamFirmwareVersion HidSeSamFirmwareVersion;
    std::uint8_t HidSeSamFirmwareVersionPresent;
    PyxProtocol::NxpSamFirmwareVersion NxpSamFirmwareVersion;
    std::uint8_t NxpSamFirmwareVersionPresent;
    PyxProtocol::FelicaSamFirmwareVersion FelicaSamFirmwareVersion;
    std::uint8_t FelicaSamFirmwareVersionPresent;
    std::uint8_t ProtocolType;
    std::uint8_t ExtendedOutputCapable;
    std::uint8_t TransparentModeReported;
    std::uint8_t ReaderSupportsReverseAllBytes;
    std::uint8_t ExtendedAscii;
    std::uint8_t Dravik;
};
#pragma pack(pop)

static_assert(std::is_trivially_copyable_v<ReaderMetadataStruct>);
static_assert(sizeof(ReaderMetadataStruct) == 5751);
static_assert(offsetof(ReaderMetadataStruct, MicrocontrollerName) == 0);
static_assert(offsetof(ReaderMetadataStruct, MicrocontrollerNamePresent) == 512);
static_assert(offsetof(ReaderMetadataStruct, HardwarePlatformText) == 513);
static_assert(offsetof(ReaderMetadataStruct, HardwarePlatformTextPresent) == 1025);
static_assert(offsetof(ReaderMetadataStruct, DeviceIdText) == 1026);
static_assert(offsetof(ReaderMetadataStruct, DeviceIdTextPresent) == 1538);
static_assert(offsetof(ReaderMetadataStruct, PartNumber) == 1539);
static_assert(offsetof(ReaderMetadataStruct, PartNumberPresent) == 2051);
static_assert(offsetof(ReaderMetadataStruct, ProductLineText) == 2052);
static_assert(offsetof(ReaderMetadataStruct, ProductLineTextPresent) == 2564);
static_assert(offsetof(ReaderMetadataStruct, ConfigurationCount) == 2565);
static_assert(offsetof(ReaderMetadataStruct, ConfigurationCountPresent) == 2569);
static_assert(offsetof(ReaderMetadataStruct, ReaderString2) == 2570);
static_assert(offsetof(ReaderMetadataStruct, ReaderString2Present) == 3082);
static_assert(offsetof(ReaderMetadataStruct, Esn) == 3083);
static_assert(offsetof(ReaderMetadataStruct, EsnPresent) == 3595);
static_assert(offsetof(ReaderMetadataStruct, InstalledHardwareText) == 3596);
static_assert(offsetof(ReaderMetadataStruct, InstalledHardwareTextPresent) == 4108);
static_assert(offsetof(ReaderMetadataStruct, InstalledHardwareText2) == 4109);
static_assert(offsetof(ReaderMetadataStruct, InstalledHardwareText2Present) == 4621);
static_assert(offsetof(ReaderMetadataStruct, InstalledHardware) == 4622);
static_assert(offsetof(ReaderMetadataStruct, InstalledHardwarePresent) == 4640);
static_assert(offsetof(ReaderMetadataStruct, ReaderString7) == 4641);
static_assert(offsetof(ReaderMetadataStruct, ReaderString7Present) == 5153);
static_assert(offsetof(ReaderMetadataStruct, ReaderString4) == 5154);
static_assert(offsetof(ReaderMetadataStruct, ReaderString4Present) == 5666);
static_assert(offsetof(ReaderMetadataStruct, ControlFirmwareVersion0) == 5667);
static_assert(offsetof(ReaderMetadataStruct, ControlFirmwareVersion0Present) == 5673);
static_assert(offsetof(ReaderMetadataStruct, ControlFirmwareVersion1) == 5674);
static_assert(offsetof(ReaderMetadataStruct, ControlFirmwareVersion1Present) == 5680);
static_assert(offsetof(ReaderMetadataStruct, ControlFirmwareVersion2) == 5681);
static_assert(offsetof(ReaderMetadataStruct, ControlFirmwareVersion2Present) == 5687);
static_assert(offsetof(ReaderMetadataStruct, RadioFirmwareVersion0) == 5688);
static_assert(offsetof(ReaderMetadataStruct, RadioFirmwareVersion0Present) == 5694);
static_assert(offsetof(ReaderMetadataStruct, RadioFirmwareVersion1) == 5695);
static_assert(offsetof(ReaderMetadataStruct, RadioFirmwareVersion1Present) == 5701);
static_assert(offsetof(ReaderMetadataStruct, RadioFirmwareVersion2) == 5702);
static_assert(offsetof(ReaderMetadataStruct, RadioFirmwareVersion2Present) == 5708);
static_assert(offsetof(ReaderMetadataStruct, BluetoothFirmwareVersion) == 5709);
static_assert(offsetof(ReaderMetadataStruct, BluetoothFirmwareVersionPresent) == 5723);
static_assert(offsetof(ReaderMetadataStruct, HidSeSamFirmwareVersion) == 5724);
static_assert(offsetof(ReaderMetadataStruct, HidSeSamFirmwareVersionPresent) == 5730);
static_assert(offsetof(ReaderMetadataStruct, NxpSamFirmwareVersion) == 5731);
static_assert(offsetof(ReaderMetadataStruct, NxpSamFirmwareVersionPresent) == 5737);
static_assert(offsetof(ReaderMetadataStruct, FelicaSamFirmwareVersion) == 5738);
static_assert(offsetof(ReaderMetadataStruct, FelicaSamFirmwareVersionPresent) == 5744);
static_assert(offsetof(ReaderMetadataStruct, ProtocolType) == 5745);
static_assert(offsetof(ReaderMetadataStruct, ExtendedOutputCapable) == 5746);
static_assert(offsetof(ReaderMetadataStruct, TransparentModeReported) == 5747);
static_assert(offsetof(ReaderMetadataStruct, ReaderSupportsReverseAllBytes) == 5748);
static_assert(offsetof(ReaderMetadataStruct, ExtendedAscii) == 5749);
static_assert(offsetof(ReaderMetadataStruct, Dravik) == 5750);

namespace Pyx
{
enum class ProductLineType : std::uint8_t
{
    Unknown = 0,
    Vessik = 1,
    Carmot = 2,
    Frenlo = 3,
    Pellit = 4,
    Skarra = 5,
    Ostrel = 6,
    NotApplicable = 255,
};

enum class HardwarePlatformDesignation : std::uint8_t
{
    Unknown = 0,
    SiLabs = 1,
    STM32 = 2,
    PIC = 3,
    NotApplicable = 255,
};

// "Invalid Product Line" for a value without a name.
PYX_API std::string ProductLineTypeToString(ProductLineType type);
// "Invalid Platform Designation" for a value without a name.
PYX_API std::string HardwarePlatformDesignationToString(HardwarePlatformDesignation designation);
} // namespace Pyx
