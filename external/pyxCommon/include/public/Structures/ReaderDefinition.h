#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "PyxExport.h"

// The wire protocol a reader speaks; one byte inside a ReaderDefinition.
enum class ProtocolType : std::uint8_t
{
    Invalid = 0,
    FeatureReport = 1,
    Mfp24 = 2,
    SerialBinary = 3,
    Dummy = 254,
    UnknownProtocol = 255,
};

// "Invalid", "FeatureReport", "Mfp24", "SerialBinary", "Dummy", "UnknownProtocol", else "Unknown".
PYX_API const char* ProtocolTypeToString(ProtocolType type);

namespace PyxCommon
{
enum class SerialPortBaudRate : std::uint32_t
{
    Invalid = 0,
    Baud9600 = 9600,
    Baud14400 = 14400,
    Baud19200 = 19200,
    Baud32400 = 32400,
    Baud57600 = 57600,
    Baud115200 = 115200,
    Baud230400 = 230400,
    Baud576000 = 576000,
    Baud921600 = 921600,
};

enum class SerialPortParity : std::uint8_t
{
    None = 0,
    Odd = 1,
    Even = 2,
    Mark = 3,
    Space = 4,
};

enum class SerialPortFlowControl : std::uint8_t
{
    None = 0,
    XonXoff = 1,
    RtsCts = 2,
    XonXoffRtsCts = 3,
    DtrDsr = 4,
    XonXoffDtrDsr = 5,
};

enum class SerialPortDataBits : std::uint8_t
{
    Invalid = 0,
    Five = 1,
    Six = 2,
    Seven = 3,
    Eight = 4,
};

enum class SerialPortStopBits : std::uint8_t
{
    None = 0,
    One = 1,
    Two = 2,
    OnePointFive = 3,
};

#pragma pack(push, 1)
// A reader's USB identity. The texts are zero-terminated when well formed; read them with FieldText.
struct PYX_API DeviceId
{
    std::uint16_t VendorId;
    std::uint16_t ProductId;
    char UsbPath[512];
    char SerialNumber[256];
};

// Settings of a reader on a serial port; all zero for a USB reader.
struct PYX_API SerialPortSettings
{
    SerialPortBaudRate BaudRate;
    SerialPortParity Parity;
    SerialPortFlowControl FlowControl;
    char PortName[256];
    std::int32_t ByteSize;
    SerialPortDataBits DataBits;
    SerialPortStopBits StopBits;
};

// One reader to open, or one discovered reader; exchanged whole with the C interface.
struct PYX_API ReaderDefinition
{
    PyxCommon::DeviceId DeviceId;
    ::ProtocolType ProtocolType;
    PyxCommon::SerialPortSettings SerialPortSettings;
};
#pragma pack(pop)

static_assert(sizeof(DeviceId) == 772);
static_assert(offsetof(DeviceId, VendorId) == 0);
static_assert(offsetof(DeviceId, ProductId) == 2);
static_assert(offsetof(DeviceId, UsbPath) == 4);
static_assert(offsetof(DeviceId, SerialNumber) == 516);

static_assert(sizeof(SerialPortSettings) == 268);
static_assert(offsetof(SerialPortSettings, BaudRate) == 0);
static_assert(offsetof(SerialPortSettings, Parity) == 4);
static_assert(offsetof(SerialPortSettings, FlowControl) == 5);
static_assert(offsetof(SerialPortSettings, PortName) == 6);
static_assert(offsetof(SerialPortSettings, ByteSize) == 262);
static_assert(offsetof(SerialPortSettings, DataBits) == 266);
static_assert(offsetof(SerialPortSettings, StopBits) == 267);

static_assert(sizeof(ReaderDefinition) == 1041);
static_assert(offsetof(ReaderDefinition, DeviceId) == 0);
static_assert(offsetof(ReaderDefinition, ProtocolType) == 772);
static_assert(offsetof(ReaderDefinition, SerialPortSettings) == 773);

// The text of a fixed-size field up to its first zero byte, or the whole field when it has none: a
// caller-filled record is never read past the end of the field.
template <std::size_t N> std::string FieldText(const char (&field)[N])
{
    const void* zero = std::memchr(field, '\0', N);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - field) : N;
    return std::string(field, length);
}

// Copies `text` into a fixed-size field, cut to fit, always zero-terminated and zero-filled.
template <std::size_t N> void SetFieldText(char (&field)[N], const std::string& text)
{
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), length);
}
} // namespace PyxCommon
