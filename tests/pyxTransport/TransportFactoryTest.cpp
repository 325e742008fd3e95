#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SerialPortSettingsText.h"
#include "TestDefinitions.h"
#include "TransportException.h"
#include "TransportFactory.h"
#include "TransportTypes/DummyTransport.h"
#include "TransportTypes/SerialTransport.h"

namespace
{
using PyxCommon::ReaderDefinition;
using PyxTransport::TransportException;
using PyxTransport::TransportFactory;

// The refusal's message and function, or "created" when the factory made a transport.
std::string Outcome(const ReaderDefinition& definition)
{
    try
    {
        const auto transport = TransportFactory::CreateTransport(definition);
        return transport ? "created" : "null";
    }
    catch (const TransportException& e)
    {
        return e.GetMessage() + " @" + e.GetFunctionName();
    }
}

ReaderDefinition WithProtocol(std::uint8_t type)
{
    ReaderDefinition definition = PyxTest::SerialDefinition("COM3");
    definition.ProtocolType = static_cast<ProtocolType>(type);
    return definition;
}

TEST(TransportFactory, RefusesProtocolTypesNoTransportCarries)
{
    const std::string refusal = "Protocol type not supported by any transport @CreateTransport";
    for (const int type : {0, 4, 100, 253, 255})
    {
        EXPECT_EQ(Outcome(WithProtocol(static_cast<std::uint8_t>(type))), refusal) << type;
    }
}

TEST(TransportFactory, MakesTheTransportOfTheProtocol)
{
    const auto serial = TransportFactory::CreateTransport(WithProtocol(3));
    EXPECT_NE(dynamic_cast<PyxTransport::SerialTransport*>(serial.get()), nullptr);
    const auto dummy = TransportFactory::CreateTransport(WithProtocol(254));
    EXPECT_NE(dynamic_cast<PyxTransport::DummyTransport*>(dummy.get()), nullptr);
}

TEST(TransportFactory, TransportKeepsAWholeCopyOfTheDefinition)
{
    ReaderDefinition definition = WithProtocol(254);
    definition.DeviceId.VendorId = 0x1234;
    PyxCommon::SetFieldText(definition.DeviceId.SerialNumber, "SN-1");
    const ReaderDefinition original = definition;
    const auto transport = TransportFactory::CreateTransport(definition);
    definition.DeviceId.VendorId = 0;
    EXPECT_EQ(std::memcmp(&transport->GetDefinition(), &original, sizeof original), 0);
    EXPECT_EQ(transport->GetReceiveDelay(), 25u);
}

TEST(TransportFactory, SerialSettingsAreRefusedInTheirOrder)
{
    struct Case
    {
        const char* name;
        void (*spoil)(PyxCommon::SerialPortSettings&);
        const char* message;
    };
    const Case cases[] = {
        {"baud rate before everything",
         [](auto& s)
         {
             s.BaudRate = PyxCommon::SerialPortBaudRate::Invalid;
             s.DataBits = PyxCommon::SerialPortDataBits::Invalid;
             s.PortName[0] = '\0';
             s.ByteSize = 0;
         },
         "Invalid baud rate specified for SerialTransport"},
        {"data bits before the port name",
         [](auto& s)
         {
             s.DataBits = PyxCommon::SerialPortDataBits::Invalid;
             s.PortName[0] = '\0';
             s.ByteSize = 0;
         },
         "Invalid data bits specified for SerialTransport"},
        {"port name before the byte size",
         [](auto& s)
         {
             s.PortName[0] = '\0';
             s.ByteSize = -5;
         },
         "Port name cannot be empty for SerialTransport"},
        {"byte size", [](auto& s) { s.ByteSize = 0; },
         "Byte size must be greater than 0 for SerialTransport"},
    };
    for (const Case& c : cases)
    {
        ReaderDefinition definition = WithProtocol(3);
        c.spoil(definition.SerialPortSettings);
        EXPECT_EQ(Outcome(definition), std::string(c.message) + " @validatePortSettings") << c.name;
    }
}

TEST(TransportFactory, SerialValuesTheTransportCannotNameStillPass)
{
    ReaderDefinition definition = WithProtocol(3);
    auto& settings = definition.SerialPortSettings;
    settings.BaudRate = static_cast<PyxCommon::SerialPortBaudRate>(12345);
    settings.Parity = static_cast<PyxCommon::SerialPortParity>(9);
    settings.StopBits = PyxCommon::SerialPortStopBits::None;
    settings.ByteSize = 1;
    EXPECT_EQ(Outcome(definition), "created");
}

TEST(TransportFactory, RefusalRecordsTheSourceFileWithoutDirectories)
{
    try
    {
        TransportFactory::CreateTransport(WithProtocol(0));
        FAIL() << "no refusal";
    }
    catch (const TransportException& e)
    {
        EXPECT_EQ(e.GetFileName(), "TransportFactory.cpp");
        EXPECT_EQ(e.GetExceptionType(), "TessmarException");
    }
}

std::string Format(const PyxCommon::SerialPortSettings& settings)
{
    char buffer[256];
    const int length = PyxTransport::FormatSerialPortSettings(settings, buffer, sizeof buffer);
    EXPECT_EQ(length, static_cast<int>(std::strlen(buffer)));
    return buffer;
}

TEST(FormatSerialPortSettings, WritesEveryFieldAsText)
{
    PyxCommon::SerialPortSettings settings = PyxTest::SerialDefinition("COM3").SerialPortSettings;
    EXPECT_EQ(Format(settings),
              "PortName: COM3, BaudRate: 9600, Parity: None, FlowControl: None, DataBits: 8, StopBits: One");

    settings.BaudRate = PyxCommon::SerialPortBaudRate::Invalid;
    settings.Parity = PyxCommon::SerialPortParity::Space;
    settings.FlowControl = PyxCommon::SerialPortFlowControl::XonXoffDtrDsr;
    settings.DataBits = PyxCommon::SerialPortDataBits::Invalid;
    settings.StopBits = PyxCommon::SerialPortStopBits::OnePointFive;
    EXPECT_EQ(Format(settings),
              "PortName: COM3, BaudRate: Invalid, Parity: Space, FlowControl: XonXoffDtrDsr, "
              "DataBits: Invalid, StopBits: OnePointFive");

    settings.BaudRate = static_cast<PyxCommon::SerialPortBaudRate>(12345);
    settings.Parity = static_cast<PyxCommon::SerialPortParity>(5);
    settings.FlowControl = static_cast<PyxCommon::SerialPortFlowControl>(6);
    settings.DataBits = static_cast<PyxCommon::SerialPortDataBits>(5);
    settings.StopBits = static_cast<PyxCommon::SerialPortStopBits>(4);
    EXPECT_EQ(Format(settings), "PortName: COM3, BaudRate: Unknown, Parity: Unknown, FlowControl: Unknown, "
                                "DataBits: Unknown, StopBits: Unknown");
}

TEST(FormatSerialPortSettings, CutsToTheBufferAndReturnsTheWholeLength)
{
    const auto settings = PyxTest::SerialDefinition("COM3").SerialPortSettings;
    const std::string whole =
        "PortName: COM3, BaudRate: 9600, Parity: None, FlowControl: None, DataBits: 8, StopBits: One";
    char buffer[11];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(PyxTransport::FormatSerialPortSettings(settings, buffer, sizeof buffer),
              static_cast<int>(whole.size()));
    EXPECT_EQ(std::string(buffer), "PortName: ");
    EXPECT_EQ(PyxTransport::FormatSerialPortSettings(settings, nullptr, 10), 0);
    EXPECT_EQ(PyxTransport::FormatSerialPortSettings(settings, buffer, 0), 0);
}

TEST(FormatSerialPortSettings, PortNameWithoutZeroByteEndsAtItsField)
{
    PyxCommon::SerialPortSettings settings = PyxTest::SerialDefinition("").SerialPortSettings;
    std::memset(settings.PortName, 'A', sizeof settings.PortName);
    // The byte after the field must not be read as part of the name.
    settings.ByteSize = 0x42424242;
    std::string buffer(1024, '\0');
    const int length = PyxTransport::FormatSerialPortSettings(settings, buffer.data(), buffer.size());
    buffer.resize(static_cast<std::size_t>(length));
    EXPECT_EQ(buffer.substr(0, 10 + 256 + 2), "PortName: " + std::string(256, 'A') + ", ");
}
} // namespace
