#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Operations/FirmwareVersion.h"

// Decoders of the firmware-version replies, shared by the commands of every protocol. Each gives nothing
// for a reply too short to hold the bytes it reads; the command then reports its own error.
namespace PyxProtocol::FirmwareVersionDecoding
{
// Module classes: request byte 2, echoed in reply byte 2.
constexpr std::uint8_t kControlClass = 0x00;
constexpr std::uint8_t kRadioClass = 0x01;
constexpr std::uint8_t kBluetoothClass = 0x02;
constexpr std::uint8_t kSamClass = 0x04;

// Bytes read from a binary reply (FeatureReport, or SerialBinary at the same positions).
constexpr std::size_t kBinaryReplySize = 8;
// Characters read from an Mfp24 Bluetooth reply.
constexpr std::size_t kMfp24BluetoothReplySize = 13;

// Version = bytes 4-7, byte 4 lowest; class and type from bytes 2 and 3.
std::optional<MicrocontrollerFirmwareVersion> Microcontroller(const std::vector<std::uint8_t>& reply);
// The same bytes the other way round: byte 4 highest.
std::optional<FelicaSamFirmwareVersion> FelicaSam(const std::vector<std::uint8_t>& reply);
// Field32A = byte 4, Field32B = byte 5, Field32C = byte 6 * 256 + byte 7; class and type from bytes 2, 3.
std::optional<BluetoothFirmwareVersion> Bluetooth(const std::vector<std::uint8_t>& reply);
// Field32A = characters 5-8, Field32B = characters 9-12, each first character highest, taken as raw byte
// values; Field32C = 0; the class is the Bluetooth class and the type the one asked for, never read.
std::optional<BluetoothFirmwareVersion> BluetoothMfp24(const std::vector<std::uint8_t>& reply,
                                                       FirmwareVersionModuleType requestedType);
} // namespace PyxProtocol::FirmwareVersionDecoding
