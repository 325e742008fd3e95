#pragma once

#include <cstddef>
#include <cstdint>

#include "PyxExport.h"

// Firmware versions of a reader's processors and secure modules.

namespace PyxProtocol
{
// Which module of a processor class is asked for its firmware version. Any value but NotSpecified is
// passed to the reader; the SAM selectors name the secure modules.
enum class FirmwareVersionModuleType : std::uint8_t
{
    SamHidSe = 0,
    SamNxpAvx = 1,
    SamFelica = 3,
    NotSpecified = 255,
};

#pragma pack(push, 1)
// Version of a processor or of a secure module, with the module class and type the reader echoed.
struct PYX_API MicrocontrollerFirmwareVersion
{
    std::uint32_t Version;
    std::uint8_t ModuleClass;
    std::uint8_t ModuleType;
};

// The version of the Bluetooth module; the library passes the three words through.
struct PYX_API BluetoothFirmwareVersion
{
    std::uint32_t Field32A;
    std::uint32_t Field32B;
    std::uint32_t Field32C;
    std::uint8_t ModuleClass;
    std::uint8_t ModuleType;
};
#pragma pack(pop)

// The secure modules report their versions in the processor record's layout.
using HidSeSamFirmwareVersion = MicrocontrollerFirmwareVersion;
using NxpSamFirmwareVersion = MicrocontrollerFirmwareVersion;
using FelicaSamFirmwareVersion = MicrocontrollerFirmwareVersion;

static_assert(sizeof(MicrocontrollerFirmwareVersion) == 6);
static_assert(offsetof(MicrocontrollerFirmwareVersion, Version) == 0);
static_assert(offsetof(MicrocontrollerFirmwareVersion, ModuleClass) == 4);
static_assert(offsetof(MicrocontrollerFirmwareVersion, ModuleType) == 5);
static_assert(sizeof(BluetoothFirmwareVersion) == 14);
static_assert(offsetof(BluetoothFirmwareVersion, Field32A) == 0);
static_assert(offsetof(BluetoothFirmwareVersion, Field32B) == 4);
static_assert(offsetof(BluetoothFirmwareVersion, Field32C) == 8);
static_assert(offsetof(BluetoothFirmwareVersion, ModuleClass) == 12);
static_assert(offsetof(BluetoothFirmwareVersion, ModuleType) == 13);
} // namespace PyxProtocol
