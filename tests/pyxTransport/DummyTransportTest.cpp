#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "TestDefinitions.h"
#include "TransportTypes/DummyTransport.h"

namespace
{
using PyxTransport::DummyTransport;
using PyxTransport::HidReportType;
using PyxTransport::TransportPacket;

// The logging manager reads its levels once per process, so the lines are checked in a child: this test
// binary run again with trace logging on and only the test below selected.
constexpr const char* kChildVariable = "PYX_DUMMY_LOG_CHILD";

PyxCommon::ReaderDefinition DummyDefinition()
{
    PyxCommon::ReaderDefinition definition = PyxTest::SerialDefinition("COM3");
    definition.ProtocolType = ProtocolType::Dummy;
    definition.DeviceId.VendorId = 0x0A1B;
    definition.DeviceId.ProductId = 0x00C2;
    PyxCommon::SetFieldText(definition.DeviceId.UsbPath, "1-2.3");
    PyxCommon::SetFieldText(definition.DeviceId.SerialNumber, "SN{1}");
    return definition;
}

void RunDummyInChild()
{
    {
        DummyTransport transport(DummyDefinition());
        transport.init(3);
        transport.receive(TransportPacket{{}, 12, HidReportType::Feature});
        transport.transmit(TransportPacket{{0x41, 0x00, 0x7F, 0x20}, 8, HidReportType::Feature});
    }
    // Texts that fill their fields without a zero byte.
    PyxCommon::ReaderDefinition unterminated = DummyDefinition();
    std::memset(unterminated.DeviceId.UsbPath, 'P', sizeof unterminated.DeviceId.UsbPath);
    std::memset(unterminated.DeviceId.SerialNumber, 'S', sizeof unterminated.DeviceId.SerialNumber);
    std::memset(unterminated.SerialPortSettings.PortName, 'N',
                sizeof unterminated.SerialPortSettings.PortName);
    DummyTransport(unterminated).init(0);
}

// What the child logged under "TRANSPORT", one entry per line, without spdlog's prefix.
std::vector<std::string> ChildTransportLines()
{
    const std::string command = std::string(kChildVariable) + "=1 PYX_TRANSPORT_LOG_LEVEL=trace /proc/" +
                                std::to_string(::getpid()) +
                                "/exe --gtest_filter=DummyTransport.LogsEachCallAsWritten 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        ADD_FAILURE() << "popen failed";
        return {};
    }
    std::vector<std::string> lines;
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe))
    {
        if (c != '\n')
        {
            line.push_back(static_cast<char>(c));
            continue;
        }
        const std::string tag = "[TRANSPORT] ";
        if (const auto at = line.find(tag); at != std::string::npos)
        {
            lines.push_back(line.substr(at + tag.size()));
        }
        line.clear();
    }
    EXPECT_EQ(::pclose(pipe), 0);
    return lines;
}

TEST(DummyTransport, LogsEachCallAsWritten)
{
    if (std::getenv(kChildVariable) != nullptr)
    {
        RunDummyInChild();
        return;
    }
    const std::vector<std::string> lines = ChildTransportLines();
    ASSERT_EQ(lines.size(), 12u);
    const std::vector<std::string> expected = {
        "DummyTransport init called with retry count 3",
        "Configuration provided by user: ",
        "DeviceId: {VendorId: 0x0A1B, ProductId: 0x00C2, UsbPath: 1-2.3, SerialNumber: SN{1}}, ProtocolType: "
        "Dummy, SerialPortSettings: {PortName: COM3, BaudRate: 9600, Parity: None, FlowControl: None, "
        "DataBits: 8, StopBits: One}",
        "DummyTransport receive called expecting payload of size 12. Returning empty vector.",
        "Transmit called with payload of size 4",
        "Transmission would include 8 bytes: [0x41, 0x00, 0x7f, 0x20]",
        "ASCII => [A.. ]",
        "DummyTransport destructor called",
        "DummyTransport init called with retry count 0",
        "Configuration provided by user: ",
    };
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;
    }
    // The unterminated texts end at their fields, and the whole line at its 1024-byte buffer.
    const std::string prefix =
        "DeviceId: {VendorId: 0x0A1B, ProductId: 0x00C2, UsbPath: " + std::string(512, 'P') +
        ", SerialNumber: " + std::string(256, 'S') + "}, ProtocolType: Dummy, ";
    EXPECT_EQ(lines[10].size(), 1023u);
    EXPECT_EQ(lines[10].substr(0, prefix.size()), prefix);
    EXPECT_EQ(lines[11], "DummyTransport destructor called");
}

TEST(DummyTransport, AnswersNothingWhateverTheLengthAndNeedsNoInit)
{
    DummyTransport transport(DummyDefinition());
    EXPECT_TRUE(transport.receive(TransportPacket{{}, 64, HidReportType::Feature}).empty());
    EXPECT_NO_THROW(transport.transmit(TransportPacket{{1, 2, 3}, 3, HidReportType::Feature}));
    transport.setReceiveDelay(40);
    EXPECT_EQ(transport.GetReceiveDelay(), 40u);
}
} // namespace
