#pragma once

#include <cstddef>
#include <cstdint>

#include "PyxExport.h"

// What a reader tells about itself: which of its indexed strings to read, the modules it supports and
// has installed, and its locally assigned identifier.

namespace PyxProtocol
{
// Which of the reader's indexed text strings to read; the reader knows strings 1 to 8.
enum class GetStringIndex : std::uint8_t
{
    String1 = 1,
    String2 = 2,
    String3 = 3,
    String4 = 4,
    String5 = 5,
    String6 = 6,
    String7 = 7,
    String8 = 8,
};
} // namespace PyxProtocol

// Modules a reader supports (0-9) and has installed (0-7), one flag each; flag i of both arrays is the
// same module: 0 SAM SE, 1 RF AMS, 2 RF 125, 3 RF Legic, 4 RF BLE, 5 NXP, 6 RF HID BLE, 7 Felica,
// 8 Beeper, 9 Nano.
struct PYX_API InstalledHardwareInformation
{
    static constexpr std::size_t SupportedModuleCount = 10;
    static constexpr std::size_t InstalledModuleCount = 8;

    bool ModuleSupported[SupportedModuleCount];
    bool ModuleInstalled[InstalledModuleCount];
};
static_assert(sizeof(bool) == 1);
static_assert(sizeof(InstalledHardwareInformation) == 18);
static_assert(offsetof(InstalledHardwareInformation, ModuleSupported) == 0);
static_assert(offsetof(InstalledHardwareInformation, ModuleInstalled) == 10);

namespace PyxProtocol
{
#pragma pack(push, 1)
// The reader's locally assigned identifier as it reports it; the library passes the fields through.
struct PYX_API LuidResponseInformation
{
    std::uint16_t Field16A;
    std::uint16_t Field16B;
    std::uint32_t Field32;
};
#pragma pack(pop)
static_assert(sizeof(LuidResponseInformation) == 8);
static_assert(offsetof(LuidResponseInformation, Field16A) == 0);
static_assert(offsetof(LuidResponseInformation, Field16B) == 2);
static_assert(offsetof(LuidResponseInformation, Field32) == 4);
} // namespace PyxProtocol
