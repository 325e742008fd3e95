#include "SerialPortSettingsText.h"

#include <cstdio>
#include <string>

namespace PyxTransport
{
namespace
{
using namespace PyxCommon;

const char* BaudRateText(SerialPortBaudRate value)
{
    switch (value)
    {
    case SerialPortBaudRate::Invalid:
        return "Invalid";
    case SerialPortBaudRate::Baud9600:
        return "9600";
    case SerialPortBaudRate::Baud14400:
        return "14400";
    case SerialPortBaudRate::Baud19200:
        return "19200";
    case SerialPortBaudRate::Baud32400:
        return "32400";
    case SerialPortBaudRate::Baud57600:
        return "57600";
    case SerialPortBaudRate::Baud115200:
        return "115200";
    case SerialPortBaudRate::Baud230400:
        return "230400";
    case SerialPortBaudRate::Baud576000:
        return "576000";
    case SerialPortBaudRate::Baud921600:
        return "921600";
    }
    return "Unknown";
}

const char* ParityText(SerialPortParity value)
{
    switch (value)
    {
    case SerialPortParity::None:
        return "None";
    case SerialPortParity::Odd:
        return "Odd";
    case SerialPortParity::Even:
        return "Even";
    case SerialPortParity::Mark:
        return "Mark";
    case SerialPortParity::Space:
        return "Space";
    }
    return "Unknown";
}

const char* FlowControlText(SerialPortFlowControl value)
{
    switch (value)
    {
    case SerialPortFlowControl::None:
        return "None";
    case SerialPortFlowControl::XonXoff:
        return "XonXoff";
    case SerialPortFlowControl::RtsCts:
        return "RtsCts";
    case SerialPortFlowControl::XonXoffRtsCts:
        return "XonXoffRtsCts";
    case SerialPortFlowControl::DtrDsr:
        return "DtrDsr";
    case SerialPortFlowControl::XonXoffDtrDsr:
        return "XonXoffDtrDsr";
    }
    return "Unknown";
}

const char* DataBitsText(SerialPortDataBits value)
{
    switch (value)
    {
    case SerialPortDataBits::Invalid:
        return "Invalid";
    case SerialPortDataBits::Five:
        return "5";
    case SerialPortDataBits::Six:
        return "6";
    case SerialPortDataBits::Seven:
        return "7";
    case SerialPortDataBits::Eight:
        return "8";
    }
    return "Unknown";
}

const char* StopBitsText(SerialPortStopBits value)
{
    switch (value)
    {
    case SerialPortStopBits::None:
        return "None";
    case SerialPortStopBits::One:
        return "One";
    case SerialPortStopBits::Two:
        return "Two";
    case SerialPortStopBits::OnePointFive:
        return "OnePointFive";
    }
    return "Unknown";
}
} // namespace

int FormatSerialPortSettings(const PyxCommon::SerialPortSettings& settings, char* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
    {
        return 0;
    }
    // The record is caller-filled: a port name without a zero byte ends at the end of its field.
    const std::string portName = FieldText(settings.PortName);
    const int written = std::snprintf(
        buffer, size, "PortName: %s, BaudRate: %s, Parity: %s, FlowControl: %s, DataBits: %s, StopBits: %s",
        portName.c_str(), BaudRateText(settings.BaudRate), ParityText(settings.Parity),
        FlowControlText(settings.FlowControl), DataBitsText(settings.DataBits),
        StopBitsText(settings.StopBits));
    return written < 0 ? 0 : written;
}
} // namespace PyxTransport
