#pragma once

#include <string>

#include "Structures/ReaderDefinition.h"

namespace PyxTest
{
// A SerialBinary definition that passes the factory's checks: 9600 baud, 8N1, the given port.
inline PyxCommon::ReaderDefinition SerialDefinition(const std::string& portName)
{
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = ProtocolType::SerialBinary;
    auto& settings = definition.SerialPortSettings;
    settings.BaudRate = PyxCommon::SerialPortBaudRate::Baud9600;
    settings.Parity = PyxCommon::SerialPortParity::None;
    settings.FlowControl = PyxCommon::SerialPortFlowControl::None;
    PyxCommon::SetFieldText(settings.PortName, portName);
    settings.ByteSize = 8;
    settings.DataBits = PyxCommon::SerialPortDataBits::Eight;
    settings.StopBits = PyxCommon::SerialPortStopBits::One;
    return definition;
}
} // namespace PyxTest
