#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "../TestDefinitions.h"
#include "Linux/PosixComPort.h"
#include "PtyPeer.h"
#include "TransportException.h"
#include "TransportFactory.h"
#include "TransportTypes/SerialTransport.h"

namespace
{
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
using PyxTest::PtyPeer;
using PyxTransport::PosixComPort;
using PyxTransport::SerialTransport;
using PyxTransport::TransportException;
using PyxTransport::TransportPacket;

TransportPacket Request(Bytes data)
{
    return TransportPacket{std::move(data), 0, PyxTransport::HidReportType::Feature};
}

const TransportPacket kAnswer{{}, 8, PyxTransport::HidReportType::Feature};

// The message of the transport failure `action` raises, or "no failure".
template <typename Action> std::string FailureOf(Action&& action)
{
    try
    {
        action();
    }
    catch (const TransportException& e)
    {
        return e.GetMessage();
    }
    return "no failure";
}

class SerialOnPty : public ::testing::Test
{
protected:
    PyxCommon::ReaderDefinition Definition() const { return PyxTest::SerialDefinition(peer.SlavePath()); }

    std::unique_ptr<SerialTransport> Connect(const PyxCommon::ReaderDefinition& definition,
                                             PosixComPort::WriteTimeouts writeTimeouts = {})
    {
        auto transport =
            std::make_unique<SerialTransport>(definition, std::make_unique<PosixComPort>(writeTimeouts));
        transport->init(3);
        return transport;
    }

    std::unique_ptr<SerialTransport> Connect() { return Connect(Definition()); }

    PtyPeer peer;
};

TEST_F(SerialOnPty, BinaryBytesCrossTheLineUnchangedBothWays)
{
    // Flow-control characters and line ends are what a cooked tty would eat or rewrite.
    const Bytes request = {0x11, 0x13, 0x0D, 0x0A, 0x03, 0x00, 0xFF, 0x7F, 0x04};
    const Bytes reply = {0x02, 0x13, 0x11, 0x0A, 0x0D, 0x00, 0xFF, 0x1A};
    peer.SetResponder(PtyPeer::Script({reply}));
    const auto transport = Connect();
    transport->transmit(Request(request));
    EXPECT_EQ(transport->receive(kAnswer), reply);
    ASSERT_TRUE(peer.WaitForRequests(1, 2s));
    EXPECT_EQ(peer.Requests().front(), request);
}

TEST_F(SerialOnPty, FactoryMadeTransportOpensTheSlave)
{
    peer.SetResponder(PtyPeer::Echo());
    const auto transport = PyxTransport::TransportFactory::CreateTransport(Definition());
    transport->init(0);
    transport->transmit(Request({1, 2, 3}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{1, 2, 3}));
}

TEST_F(SerialOnPty, LineSettingsReachTheTty)
{
    using PyxCommon::SerialPortParity;
    using PyxCommon::SerialPortStopBits;
    const struct
    {
        std::uint32_t baud;
        std::int32_t byteSize;
        SerialPortParity parity;
        SerialPortStopBits stopBits;
        tcflag_t frame;
    } cases[] = {
        {9600, 8, SerialPortParity::None, SerialPortStopBits::One, CS8},
        {115200, 7, SerialPortParity::Even, SerialPortStopBits::Two, CS7 | PARENB | CSTOPB},
        {19200, 5, SerialPortParity::Odd, SerialPortStopBits::One, CS5 | PARENB | PARODD},
        {57600, 6, SerialPortParity::Mark, SerialPortStopBits::One, CS6 | PARENB | PARODD | CMSPAR},
        {921600, 8, SerialPortParity::Space, SerialPortStopBits::Two, CS8 | PARENB | CMSPAR | CSTOPB},
        // Rates without a B-constant, and a byte size whose low byte is 8.
        {14400, 8, SerialPortParity::None, SerialPortStopBits::One, CS8},
        {32400, 0x108, SerialPortParity::None, SerialPortStopBits::One, CS8},
        {12345, 8, SerialPortParity::None, SerialPortStopBits::One, CS8},
    };
    for (const auto& c : cases)
    {
        auto definition = Definition();
        auto& settings = definition.SerialPortSettings;
        settings.BaudRate = static_cast<PyxCommon::SerialPortBaudRate>(c.baud);
        settings.ByteSize = c.byteSize;
        settings.Parity = c.parity;
        settings.StopBits = c.stopBits;
        const auto transport = Connect(definition);

        // A pty always reports eight data bits and no parity enable, whatever it was asked for; the bits it
        // keeps still tell odd from even and mark/space from both.
        const termios tty = peer.SlaveSettings();
        const tcflag_t kept = PARODD | CMSPAR | CSTOPB;
        EXPECT_EQ(tty.c_cflag & (CSIZE | PARENB | kept), (c.frame & kept) | CS8) << c.baud;
        EXPECT_EQ(peer.SlaveBaudRate(), c.baud);
        EXPECT_EQ(tty.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP), 0u) << c.baud;
        EXPECT_EQ(tty.c_oflag & OPOST, 0u) << c.baud;
        EXPECT_EQ(tty.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u) << c.baud;
        EXPECT_EQ(tty.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD)) << c.baud;
    }
}

TEST_F(SerialOnPty, HardwareFlowControlStaysAsTheDriverHasIt)
{
    for (const bool driverHasIt : {true, false})
    {
        // The tty's setting before the port is opened, as a driver would leave it.
        const int fd = ::open(peer.SlavePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios tty{};
        ASSERT_EQ(::tcgetattr(fd, &tty), 0);
        tty.c_cflag = driverHasIt ? (tty.c_cflag | CRTSCTS) : (tty.c_cflag & ~static_cast<tcflag_t>(CRTSCTS));
        ASSERT_EQ(::tcsetattr(fd, TCSANOW, &tty), 0);
        ::close(fd);

        auto definition = Definition();
        definition.SerialPortSettings.FlowControl =
            driverHasIt ? PyxCommon::SerialPortFlowControl::None : PyxCommon::SerialPortFlowControl::RtsCts;
        const auto transport = Connect(definition);
        EXPECT_EQ((peer.SlaveSettings().c_cflag & CRTSCTS) != 0, driverHasIt);
    }
}

TEST_F(SerialOnPty, ReplySplitByALongGapArrivesInTwoReceives)
{
    peer.SetResponder(PtyPeer::Script({{0x10, 0x11, 0x12, 0x20, 0x21, 0x22}}));
    peer.AddGap(3, 70ms);
    const auto transport = Connect();
    transport->transmit(Request({0x01}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0x10, 0x11, 0x12}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0x20, 0x21, 0x22}));
}

TEST_F(SerialOnPty, ReadWaitsForALateFirstByteAndThenForTheQuietLine)
{
    // The pause between bytes only counts once a byte has come; before that only the total time-out does.
    // The first byte comes after more than the receive delay; the pause inside the reply is a small
    // fraction of it.
    peer.SetResponder(PtyPeer::Script({{0xA0, 0xA1, 0xA2, 0xA3}}));
    peer.SetReplyDelay(60ms);
    peer.AddGap(2, 5ms);
    const auto transport = Connect();
    transport->setReceiveDelay(45);
    transport->transmit(Request({0x01}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0xA0, 0xA1, 0xA2, 0xA3}));
}

TEST_F(SerialOnPty, LongReplyComesInReadsOfAtMost1024Bytes)
{
    Bytes reply(1500);
    for (std::size_t i = 0; i < reply.size(); ++i)
    {
        reply[i] = static_cast<std::uint8_t>(i * 7);
    }
    peer.SetResponder(PtyPeer::Script({reply}));
    const auto transport = Connect();
    transport->transmit(Request({0x01}));
    Bytes first = transport->receive(kAnswer);
    ASSERT_EQ(first.size(), 1024u);
    const Bytes second = transport->receive(kAnswer);
    first.insert(first.end(), second.begin(), second.end());
    EXPECT_EQ(first, reply);
}

TEST_F(SerialOnPty, SilentLineGivesAnEmptyReplyAfterAboutATenthOfASecond)
{
    peer.SetSilent(true);
    const auto transport = Connect();
    transport->transmit(Request({0x01}));
    const auto start = Clock::now();
    EXPECT_TRUE(transport->receive(kAnswer).empty());
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 90ms);
    EXPECT_LT(elapsed, 400ms);
}

TEST_F(SerialOnPty, LongReplyOnASlowLineArrivesWholeAndTheNextReplyIsItsOwn)
{
    // An extended-configuration reply at 9600 baud takes about 136 ms on the line, longer than a silent
    // read waits.
    Bytes longReply(131);
    for (std::size_t i = 0; i < longReply.size(); ++i)
    {
        longReply[i] = static_cast<std::uint8_t>(i);
    }
    peer.SetResponder(PtyPeer::Script({longReply, {0x06}}));
    peer.SetLineRate(9600);
    const auto transport = Connect();
    transport->setReceiveDelay(60);
    transport->transmit(Request({0x01}));
    EXPECT_EQ(transport->receive(kAnswer), longReply);
    transport->transmit(Request({0x02}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0x06}));
}

TEST_F(SerialOnPty, LateTailOfAReplyIsDroppedBeforeTheNextRequest)
{
    peer.SetResponder(PtyPeer::Script({{0xA1, 0xA2, 0xA3, 0xA4}, {0xB1}}));
    peer.AddGap(2, 150ms);
    const auto transport = Connect();
    transport->transmit(Request({0x01}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0xA1, 0xA2}));
    // Not a protocol wait: the tail has to land in the port's input before the next request goes out.
    std::this_thread::sleep_for(300ms);
    transport->transmit(Request({0x02}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0xB1}));
}

TEST_F(SerialOnPty, LongerReceiveDelayOnALiveLineJoinsTheReply)
{
    peer.SetResponder(PtyPeer::Script({{0x01, 0x02, 0x03, 0x04}}));
    peer.AddGap(2, 30ms);
    const auto transport = Connect();
    transport->setReceiveDelay(100);
    EXPECT_EQ(transport->GetReceiveDelay(), 100u);
    transport->transmit(Request({0x01}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0x01, 0x02, 0x03, 0x04}));
}

TEST_F(SerialOnPty, ZeroReceiveDelayReadsUntilTheTotalTimeout)
{
    peer.SetResponder(PtyPeer::Script({{0x01, 0x02, 0x03, 0x04}}));
    peer.AddGap(2, 40ms);
    const auto transport = Connect();
    transport->setReceiveDelay(0);
    transport->transmit(Request({0x01}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0x01, 0x02, 0x03, 0x04}));
}

TEST_F(SerialOnPty, ReaderThatHangsUpMidConversationFailsTheNextReceive)
{
    peer.SetResponder(PtyPeer::Echo());
    peer.HangUpAfter(1);
    const auto transport = Connect();
    transport->transmit(Request({0x31}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0x31}));
    transport->transmit(Request({0x32}));
    EXPECT_EQ(FailureOf([&] { transport->receive(kAnswer); }),
              "Failed to receive bytes on serial port. System message: 'Input/output error'");
    EXPECT_TRUE(peer.IsHungUp());
}

TEST_F(SerialOnPty, HungUpPeerFailsBothWays)
{
    const auto transport = Connect();
    peer.HangUp();
    EXPECT_EQ(FailureOf([&] { transport->receive(kAnswer); }),
              "Failed to receive bytes on serial port. System message: 'Input/output error'");
    EXPECT_EQ(FailureOf([&] { transport->transmit(Request({0x01})); }),
              "Failed to transmit buffer. Message: 'Input/output error'");
}

TEST_F(SerialOnPty, PortFailuresNameThePortOperation)
{
    const auto transport = Connect();
    peer.HangUp();
    const auto functionOf = [](auto call) -> std::string
    {
        try
        {
            call();
        }
        catch (const TessmarException& e)
        {
            return e.GetFunctionName();
        }
        return "<no exception>";
    };
    EXPECT_EQ(functionOf([&] { transport->receive(kAnswer); }), "Receive");
    EXPECT_EQ(functionOf([&] { transport->transmit(Request({0x01})); }), "Send");
}

TEST_F(SerialOnPty, WriteThatMissesItsDeadlineFails)
{
    peer.SetReading(false);
    const auto transport = Connect(Definition(), PosixComPort::WriteTimeouts{50, 0});
    // More than the pty can hold while nobody reads it.
    const Bytes flood(512 * 1024, 0x55);
    const auto start = Clock::now();
    EXPECT_EQ(FailureOf([&] { transport->transmit(Request(flood)); }),
              "Failed to transmit buffer. Message: 'Connection timed out'");
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST_F(SerialOnPty, WriteToABackedUpLineFailsWithinItsDeadlineAndCloseDropsWhatIsQueued)
{
    peer.SetReading(false);
    // A handle of the test's own, opened before the port takes the line exclusively, fills its output.
    const int filler = ::open(peer.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(filler, 0);
    auto transport = Connect();
    const Bytes chunk(4096, 0x55);
    std::size_t filled = 0;
    // Until the kernel takes no more, even after a moment to move bytes across.
    for (std::size_t round = 1; round > 0; std::this_thread::sleep_for(20ms))
    {
        round = 0;
        for (ssize_t put = 0; (put = ::write(filler, chunk.data(), chunk.size())) > 0;)
        {
            round += static_cast<std::size_t>(put);
        }
        filled += round;
    }

    // One byte may take 60 ms + 8 ms, nowhere near seconds.
    const auto start = Clock::now();
    EXPECT_EQ(FailureOf([&] { transport->transmit(Request({0x01})); }),
              "Failed to transmit buffer. Message: 'Connection timed out'");
    EXPECT_LT(Clock::now() - start, 1s);
    // Closing discards what the line still holds instead of leaving it to drain.
    transport.reset();
    EXPECT_LT(peer.DrainUnread(), filled);
    ::close(filler);
}

TEST_F(SerialOnPty, TransmitAndReceiveBeforeInitAreRefused)
{
    SerialTransport transport(Definition(), std::make_unique<PosixComPort>());
    try
    {
        transport.transmit(Request({0x01}));
        ADD_FAILURE() << "transmit accepted";
    }
    catch (const TransportException& e)
    {
        EXPECT_EQ(e.GetMessage(), "Serial port not connected. Run init() first.");
        EXPECT_EQ(e.GetFunctionName(), "transmit");
    }
    try
    {
        transport.receive(kAnswer);
        ADD_FAILURE() << "receive accepted";
    }
    catch (const TransportException& e)
    {
        EXPECT_EQ(e.GetMessage(), "[SerialTransport] Serial port not connected. Run init() first.");
        EXPECT_EQ(e.GetFunctionName(), "receive");
    }
    EXPECT_TRUE(peer.Requests().empty());
}

TEST_F(SerialOnPty, PortIsOpenedExclusively)
{
    const auto first = Connect();
    SerialTransport second(Definition(), std::make_unique<PosixComPort>());
    const std::string path = peer.SlavePath();
    const std::string refusal =
        "Invalid serial port handle received for port name '" + path + "' ('" + path + "'). System message: ";
    // Root passes the tty's exclusive mode and meets the lock; any other user is refused by the tty itself.
    EXPECT_THAT(FailureOf([&] { second.init(1); }),
                ::testing::AnyOf(refusal + "'Resource temporarily unavailable'",
                                 refusal + "'Device or resource busy'"));
}

TEST_F(SerialOnPty, SecondInitReopensThePort)
{
    peer.SetResponder(PtyPeer::Echo());
    const auto transport = Connect();
    ASSERT_NO_THROW(transport->init(1));
    transport->transmit(Request({0x42}));
    EXPECT_EQ(transport->receive(kAnswer), (Bytes{0x42}));
}

TEST_F(SerialOnPty, ConfigureRefusalsNameTheirCause)
{
    const std::string badSetting =
        "Unable to configure serial port settings using port interface. Error: "
        "'Invalid argument'  If using a USB serial device, make sure the STOP bits "
        "and PARITY are valid.";
    const struct
    {
        const char* name;
        void (*spoil)(PyxCommon::SerialPortSettings&);
        std::string message;
    } cases[] = {
        {"no stop bits", [](auto& s) { s.StopBits = PyxCommon::SerialPortStopBits::None; },
         "Unsupported stop bits value '0'."},
        {"one and a half stop bits",
         [](auto& s) { s.StopBits = PyxCommon::SerialPortStopBits::OnePointFive; },
         "Unsupported stop bits value '3'."},
        {"unknown stop bits", [](auto& s) { s.StopBits = static_cast<PyxCommon::SerialPortStopBits>(9); },
         "Unsupported stop bits value '9'."},
        {"nine data bits", [](auto& s) { s.ByteSize = 9; }, badSetting},
        {"four data bits", [](auto& s) { s.ByteSize = 4; }, badSetting},
        {"unknown parity", [](auto& s) { s.Parity = static_cast<PyxCommon::SerialPortParity>(5); },
         badSetting},
        {"zero baud", [](auto& s) { s.BaudRate = PyxCommon::SerialPortBaudRate::Invalid; }, badSetting},
    };
    for (const auto& c : cases)
    {
        auto definition = Definition();
        c.spoil(definition.SerialPortSettings);
        SerialTransport transport(definition, std::make_unique<PosixComPort>());
        EXPECT_EQ(FailureOf([&] { transport.init(1); }), c.message) << c.name;
        // Still not connected, and the port was let go: a good definition opens it at once.
        EXPECT_EQ(FailureOf([&] { transport.receive(kAnswer); }),
                  "[SerialTransport] Serial port not connected. Run init() first.")
            << c.name;
        EXPECT_NO_THROW(Connect()) << c.name;
    }
}

TEST(SerialPort, DevicesThatCannotBeOpenedAsAPortAreRefused)
{
    const struct
    {
        const char* path;
        const char* system;
    } cases[] = {
        {"/dev/no-such-tty", "No such file or directory"},
        {"/dev/null", "Inappropriate ioctl for device"},
    };
    for (const auto& c : cases)
    {
        SerialTransport transport(PyxTest::SerialDefinition(c.path), std::make_unique<PosixComPort>());
        const std::string path = c.path;
        EXPECT_EQ(FailureOf([&] { transport.init(1); }),
                  "Invalid serial port handle received for port name '" + path + "' ('" + path +
                      "'). System message: '" + c.system + "'");
    }
}

TEST(SerialPort, PortNameWithoutZeroByteIsReadWithinItsField)
{
    auto definition = PyxTest::SerialDefinition("");
    auto& name = definition.SerialPortSettings.PortName;
    std::memset(name, 'x', sizeof name);
    name[0] = '/';
    // What follows the field in the record must not become part of the name.
    definition.SerialPortSettings.ByteSize = 0x41414141;
    SerialTransport transport(definition, std::make_unique<PosixComPort>());
    const std::string path = "/" + std::string(255, 'x');
    EXPECT_EQ(FailureOf([&] { transport.init(1); }), "Invalid serial port handle received for port name '" +
                                                         path + "' ('" + path +
                                                         "'). System message: 'No such file or directory'");
}

TEST(SerialPort, ClosedPortRefusesEveryOperation)
{
    PosixComPort port;
    EXPECT_EQ(FailureOf([&] { port.SetReceiveDelay(10); }),
              "Unable to get COM port timeout configuration. System message: 'Bad file descriptor'");
    EXPECT_EQ(FailureOf([&] { port.Receive(); }),
              "Failed to receive bytes on serial port. System message: 'Bad file descriptor'");
    EXPECT_EQ(FailureOf([&] { port.Send({0x01}); }),
              "Failed to transmit buffer. Message: 'Bad file descriptor'");
    EXPECT_NO_THROW(port.Close());
}
} // namespace
