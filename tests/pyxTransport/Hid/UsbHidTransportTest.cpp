// The USB HID transport driving the real hidapi against simulated hidraw nodes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <memory>
#include <string>

#include <fmt/format.h>

#include "HidTestbed.h"
#include "HotplugTimeDelay.h"
#include "LogCapture.h"
#include "TransportException.h"
#include "TransportFactory.h"
#include "TransportTypes/HidDeviceInfo.h"
#include "TransportTypes/UsbHidTransport.h"

namespace
{
using PyxCommon::ReaderDefinition;
using PyxTest::HidTestbed;
using PyxTest::SimulatedHidNode;
using PyxTransport::HidReportType;
using PyxTransport::TransportException;
using PyxTransport::TransportPacket;
using PyxTransport::UsbHidTransport;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;
using Direction = SimulatedHidNode::Direction;

constexpr std::uint16_t kVendor = 0x0C27;
constexpr std::uint16_t kProduct = 0x3BFA;

ReaderDefinition Definition(const std::string& usbPath, const std::string& serial = "",
                            ProtocolType protocol = ProtocolType::FeatureReport)
{
    ReaderDefinition definition{};
    definition.DeviceId.VendorId = kVendor;
    definition.DeviceId.ProductId = kProduct;
    PyxCommon::SetFieldText(definition.DeviceId.UsbPath, usbPath);
    PyxCommon::SetFieldText(definition.DeviceId.SerialNumber, serial);
    definition.ProtocolType = protocol;
    return definition;
}

HidTestbed::UsbDevice Reader(const std::string& port, const std::string& serial)
{
    HidTestbed::UsbDevice device;
    device.port = port;
    device.vendorId = kVendor;
    device.productId = kProduct;
    device.product = "Desk Reader";
    device.serial = serial;
    return device;
}

TransportPacket Packet(Bytes data, std::uint16_t length = 0, HidReportType type = HidReportType::Feature)
{
    return TransportPacket{std::move(data), length, type};
}

// Runs `call` and returns the TransportException it throws.
template <typename Call> TransportException CatchTransportException(Call&& call)
{
    try
    {
        call();
    }
    catch (const TransportException& error)
    {
        return error;
    }
    catch (const std::exception& error)
    {
        ADD_FAILURE() << "other exception: " << error.what();
    }
    ADD_FAILURE() << "nothing thrown";
    return TransportException("", "", 0, "");
}

template <typename Call> std::string RuntimeErrorText(Call&& call)
{
    try
    {
        call();
    }
    catch (const TransportException& error)
    {
        ADD_FAILURE() << "a transport exception, not hidapi's failure: " << error.what();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "<nothing thrown>";
}

class UsbHidTransportTest : public ::testing::Test
{
protected:
    std::unique_ptr<UsbHidTransport> Make(const ReaderDefinition& definition)
    {
        return std::make_unique<UsbHidTransport>(definition, delay);
    }

    PyxTest::LogCapture log{"PYX_TRANSPORT_LOG_LEVEL", "trace"};
    HidTestbed bed;
    std::shared_ptr<PyxTest::HotplugTimeDelay> delay = std::make_shared<PyxTest::HotplugTimeDelay>();
};

TEST_F(UsbHidTransportTest, RefusesProtocolsThatDoNotRunOverHid)
{
    for (const auto protocol : {ProtocolType::Invalid, ProtocolType::SerialBinary, ProtocolType::Dummy,
                                ProtocolType::UnknownProtocol, static_cast<ProtocolType>(7)})
    {
        const auto error = CatchTransportException([&] { Make(Definition("1-1", "", protocol)); });
        EXPECT_EQ(error.GetMessage(), "Incompatible protocol type for UsbHidTransport");
        EXPECT_EQ(error.GetFunctionName(), "UsbHidTransport");
        EXPECT_EQ(error.GetFileName(), "UsbHidTransport.cpp");
    }
    EXPECT_NO_THROW(Make(Definition("1-1", "", ProtocolType::Mfp24)));
}

TEST_F(UsbHidTransportTest, BusPathWinsOverVendorProductAndSerial)
{
    auto& bySerial = bed.AddUsbHidDevice(Reader("1-1", "SERIAL-A"), "hidraw0");
    auto& byPort = bed.AddUsbHidDevice(Reader("1-2", "SERIAL-B"), "hidraw1");
    auto transport = Make(Definition("1-2", "SERIAL-A"));
    EXPECT_EQ(transport->GetConnectType(), UsbHidTransport::ConnectType::UsbBusPath);
    transport->init(1);
    transport->transmit(Packet({0x11}));
    EXPECT_TRUE(bySerial.Reports().empty());
    EXPECT_EQ(byPort.Reports(),
              (std::vector<SimulatedHidNode::Report>{{Direction::SetFeature, {0x00, 0x11}}}));
    EXPECT_TRUE(log.Contains("[TRANSPORT] Attempting to open device at USB bus path: 1-2"));
}

TEST_F(UsbHidTransportTest, WithoutBusPathOpensBySerialNumberOrFirstMatch)
{
    auto& first = bed.AddUsbHidDevice(Reader("1-1", "SERIAL-A"), "hidraw0");
    auto& second = bed.AddUsbHidDevice(Reader("1-2", "SERIAL-B"), "hidraw1");

    auto bySerial = Make(Definition("", "SERIAL-B"));
    EXPECT_EQ(bySerial->GetConnectType(), UsbHidTransport::ConnectType::VidPidSerialNumber);
    bySerial->init(1);
    bySerial->transmit(Packet({0x22}));
    EXPECT_TRUE(first.Reports().empty());
    EXPECT_EQ(second.Reports().size(), 1U);
    EXPECT_TRUE(
        log.Contains("[TRANSPORT] Attempting to open device with VID: 0c27 PID: 3bfa Serial: SERIAL-B"));

    auto anySerial = Make(Definition(""));
    anySerial->init(1);
    EXPECT_TRUE(anySerial->IsConnected());
    EXPECT_TRUE(log.Contains("[TRANSPORT] Attempting to open device with VID: 0c27 PID: 3bfa Serial: "));
}

TEST_F(UsbHidTransportTest, ListedSerialNumbersOpenAsReportedWhateverTheLocale)
{
    auto& padded = bed.AddUsbHidDevice(Reader("1-1", "  SN42  "), "hidraw0");
    auto& accented = bed.AddUsbHidDevice(Reader("1-2", "Čtečka-Ž42"), "hidraw1");
    const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    // What discovery lists is what a definition carries back to open the device.
    for (const auto& device : PyxTransport::EnumerateHidDevices())
    {
        auto transport = Make(Definition("", device.SerialNumber));
        EXPECT_NO_THROW(transport->init(1)) << device.SerialNumber;
        EXPECT_NO_THROW(transport->transmit(Packet({0x33}))) << device.SerialNumber;
    }
    std::setlocale(LC_ALL, savedLocale.c_str());
    EXPECT_EQ(padded.Reports().size(), 1U);
    EXPECT_EQ(accented.Reports().size(), 1U);
}

TEST_F(UsbHidTransportTest, UnterminatedDefinitionTextsAreReadWithinTheirFields)
{
    ReaderDefinition definition = Definition("");
    std::memset(definition.DeviceId.UsbPath, 'p', sizeof definition.DeviceId.UsbPath);
    std::memset(definition.DeviceId.SerialNumber, 's', sizeof definition.DeviceId.SerialNumber);
    definition.ProtocolType = ProtocolType::Mfp24;
    auto transport = Make(definition);
    EXPECT_THROW(transport->init(1), TransportException);
    EXPECT_TRUE(log.Contains("[TRANSPORT] (Attempt 1) Library error was: Unable to resolve USB bus path '" +
                             std::string(512, 'p') + "' to HID device path"));
}

TEST_F(UsbHidTransportTest, RetryCountZeroFailsWithoutOpening)
{
    auto& node = bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0");
    auto transport = Make(Definition("1-1"));
    const auto error = CatchTransportException([&] { transport->init(0); });
    EXPECT_EQ(error.GetMessage(), "Unable to connect to the reader after 0 attempts");
    EXPECT_EQ(error.GetFunctionName(), "init");
    EXPECT_EQ(node.OpenCount(), 0);
    EXPECT_TRUE(delay->Waits().empty());
    EXPECT_FALSE(transport->IsConnected());
}

TEST_F(UsbHidTransportTest, EveryFailedAttemptWaitsAndIsReported)
{
    auto transport = Make(Definition("1-1"));
    const auto error = CatchTransportException([&] { transport->init(3); });
    EXPECT_EQ(error.GetMessage(), "Unable to connect to the reader after 3 attempts");
    EXPECT_EQ(delay->WaitsInMilliseconds(), (std::vector<int>{500, 500, 500}));

    const std::string failure = "Unable to resolve USB bus path '1-1' to HID device path";
    const auto lines = log.Lines();
    EXPECT_EQ(std::count(
                  lines.begin(), lines.end(),
                  "[TRANSPORT] Retrying to connect to the reader. Is it an MFP24? Will retry up to 3 times."),
              1);
    for (int attempt = 1; attempt <= 3; ++attempt)
    {
        EXPECT_TRUE(
            log.Contains(fmt::format("[TRANSPORT] (Attempt {}) Library error was: {}", attempt, failure)))
            << attempt;
    }
    EXPECT_FALSE(log.Contains("[TRANSPORT] (Attempt 4) Library error was: " + failure));
}

TEST_F(UsbHidTransportTest, FailedOpenBySerialCarriesHidapiMessage)
{
    auto transport = Make(Definition("", "NOPE"));
    EXPECT_THROW(transport->init(1), TransportException);
    const auto lines = log.Lines();
    const std::string prefix =
        "[TRANSPORT] (Attempt 1) Library error was: Unable to Open device 0c27:3bfa. Library message: ";
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const auto& line)
                            { return line.rfind(prefix, 0) == 0 && line.size() > prefix.size(); }))
        << ::testing::PrintToString(lines);
}

TEST_F(UsbHidTransportTest, DeviceAppearingBetweenAttemptsConnectsAndCountsRetries)
{
    SimulatedHidNode* node = nullptr;
    delay->At(2, [&] { node = &bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0"); });
    auto transport = Make(Definition("1-1"));
    transport->init(5);
    EXPECT_TRUE(transport->IsConnected());
    EXPECT_EQ(delay->WaitsInMilliseconds(), (std::vector<int>{500, 500}));
    EXPECT_TRUE(log.Contains("[TRANSPORT] Connected to reader after 2 retries."));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->OpenCount(), 1);
}

TEST_F(UsbHidTransportTest, NodeMissingAtTheFirstAttemptIsRetried)
{
    auto& node = bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0");
    node.HideNode();
    delay->At(1, [&] { node.RevealNode(); });
    auto transport = Make(Definition("1-1"));
    transport->init(2);
    EXPECT_TRUE(log.Contains("[TRANSPORT] Connected to reader after 1 retries."));
    const auto lines = log.Lines();
    EXPECT_TRUE(std::any_of(
        lines.begin(), lines.end(),
        [](const auto& line)
        {
            return line.rfind(
                       "[TRANSPORT] (Attempt 1) Library error was: Unable to open device at /dev/hidraw0 "
                       "(resolved from 1-1). Library message: ",
                       0) == 0;
        }))
        << ::testing::PrintToString(lines);
    EXPECT_EQ(delay->WaitsInMilliseconds(), (std::vector<int>{500}));
}

TEST_F(UsbHidTransportTest, ReinitClosesTheOldHandleFirst)
{
    auto& node = bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0");
    auto transport = Make(Definition("1-1"));
    transport->init(1);
    ASSERT_EQ(node.OpenHandles(), 1);

    transport->init(1);
    EXPECT_TRUE(log.Contains("[TRANSPORT] Transport already connected. Closing and reopening."));
    const auto lines = log.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[TRANSPORT] Connected to reader after 0 retries."), 2);
    EXPECT_EQ(node.OpenHandles(), 1);

    // A reconnection that fails still lets go of the old handle, and leaves the transport unusable.
    node.HideNode();
    EXPECT_THROW(transport->init(1), TransportException);
    EXPECT_EQ(node.OpenHandles(), 0);
    EXPECT_FALSE(transport->IsConnected());
    EXPECT_THROW(transport->transmit(Packet({1})), TransportException);
}

TEST_F(UsbHidTransportTest, DestructionClosesTheHandle)
{
    auto& node = bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0");
    auto transport = Make(Definition("1-1"));
    transport->init(1);
    ASSERT_EQ(node.OpenHandles(), 1);
    transport.reset();
    EXPECT_EQ(node.OpenHandles(), 0);
    EXPECT_TRUE(log.Contains("[TRANSPORT] Deconstructing UsbHidTransport"));
}

TEST_F(UsbHidTransportTest, NothingIsSentOrReadBeforeInit)
{
    auto& node = bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0");
    auto transport = Make(Definition("1-1"));
    const auto sent = CatchTransportException([&] { transport->transmit(Packet({1, 2})); });
    EXPECT_EQ(sent.GetMessage(), "Cannot transmit data. Transport is not connected. Call init() first.");
    EXPECT_EQ(sent.GetFunctionName(), "transmit");
    const auto read = CatchTransportException([&] { transport->receive(Packet({}, 8)); });
    EXPECT_EQ(read.GetMessage(), "Cannot receive data. Transport is not connected. Call init() first.");
    EXPECT_EQ(read.GetFunctionName(), "receive");
    EXPECT_EQ(node.OpenCount(), 0);
    EXPECT_TRUE(node.Reports().empty());
    // A single attempt outside init opens the device but does not make the transport usable.
    transport->AttemptOpen();
    EXPECT_EQ(node.OpenCount(), 1);
    EXPECT_THROW(transport->transmit(Packet({1, 2})), TransportException);
}

class ConnectedTransport : public UsbHidTransportTest
{
protected:
    void SetUp() override
    {
        transport = Make(Definition("1-1"));
        transport->init(1);
    }

    SimulatedHidNode& node = bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0");
    std::unique_ptr<UsbHidTransport> transport;
};

TEST_F(ConnectedTransport, FeatureRequestGoesOutBehindReportIdZero)
{
    transport->transmit(Packet({0x41, 0x00, 0x7F, 0x20, 0x7E, 0x1F, 0xFF, 0x5A}, 3));
    EXPECT_EQ(node.Reports(),
              (std::vector<SimulatedHidNode::Report>{
                  {Direction::SetFeature, {0x00, 0x41, 0x00, 0x7F, 0x20, 0x7E, 0x1F, 0xFF, 0x5A}}}));
    EXPECT_TRUE(log.Contains(
        "[TRANSPORT] Transmitted 9 bytes: [0x00, 0x41, 0x00, 0x7f, 0x20, 0x7e, 0x1f, 0xff, 0x5a]"));
    EXPECT_TRUE(log.Contains("[TRANSPORT] ASCII => [.A.. ~..Z]"));
}

TEST_F(ConnectedTransport, OutputReportGoesThroughWriteAndItsAnswerIsStillAFeatureReport)
{
    node.DefaultResponder()->QueueReply({0x00, 0x0A, 0x0B});
    transport->transmit(Packet({0x01, 0x02}, 0, HidReportType::Output));
    EXPECT_EQ(transport->receive(Packet({}, 2, HidReportType::Output)), (Bytes{0x0A, 0x0B}));
    EXPECT_EQ(node.Reports(),
              (std::vector<SimulatedHidNode::Report>{{Direction::Write, {0x00, 0x01, 0x02}},
                                                     {Direction::GetFeature, {0x00, 0x0A, 0x0B}}}));
}

TEST_F(ConnectedTransport, AnyOtherReportTypeIsSentAsFeatureReport)
{
    transport->transmit(Packet({0x09}, 0, static_cast<HidReportType>(1)));
    EXPECT_EQ(node.Reports(), (std::vector<SimulatedHidNode::Report>{{Direction::SetFeature, {0x00, 0x09}}}));
}

TEST_F(ConnectedTransport, ReceiveReturnsExactlyLengthBytesWithoutReportId)
{
    node.DefaultResponder()->QueueReply({0x00, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(transport->receive(Packet({0xEE}, 8)), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(log.Contains("[TRANSPORT] Receive will attempt to read 8 bytes"));
    EXPECT_TRUE(log.Contains("[TRANSPORT] Received 8 bytes: [0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08]"));
    // The device was asked for the report number and 8 bytes.
    EXPECT_EQ(node.Reports().back().bytes.size(), 9U);
}

TEST_F(ConnectedTransport, ShortAnswerIsZeroFilledToLength)
{
    node.DefaultResponder()->QueueReply({0x00, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38});
    node.ShortenNextReply(4);
    EXPECT_EQ(transport->receive(Packet({}, 8)), (Bytes{0x31, 0x32, 0x33, 0, 0, 0, 0, 0}));

    node.DefaultResponder()->QueueReply({});
    EXPECT_EQ(transport->receive(Packet({}, 3)), (Bytes{0, 0, 0}));
}

TEST_F(ConnectedTransport, ZeroLengthReceiveReturnsNothing)
{
    EXPECT_TRUE(transport->receive(Packet({}, 0)).empty());
}

TEST_F(ConnectedTransport, HidapiFailuresPassThroughAsRuntimeErrors)
{
    node.FailFeatureReports(EPIPE, 2);
    EXPECT_THAT(RuntimeErrorText([&] { transport->transmit(Packet({1})); }),
                HasSubstr("Unable to send feature report. Library message: "));
    EXPECT_THAT(RuntimeErrorText([&] { transport->receive(Packet({}, 8)); }),
                HasSubstr("Unable to receive feature report. Library message: "));
    EXPECT_TRUE(node.Reports().empty());
    // The failure was for those calls only.
    transport->transmit(Packet({2}));
    EXPECT_EQ(node.Reports().size(), 1U);
}

TEST_F(ConnectedTransport, UnpluggedDeviceFailsEveryTransfer)
{
    node.Unplug();
    EXPECT_THAT(RuntimeErrorText([&] { transport->transmit(Packet({1})); }),
                HasSubstr("Unable to send feature report. Library message: "));
    EXPECT_THAT(RuntimeErrorText([&] { transport->transmit(Packet({1}, 0, HidReportType::Output)); }),
                HasSubstr("Unable to send output report. Library message: "));
    EXPECT_THAT(RuntimeErrorText([&] { transport->receive(Packet({}, 8)); }),
                HasSubstr("Unable to receive feature report. Library message: "));
    // Reconnecting finds nothing on the port any more.
    EXPECT_THROW(transport->init(1), TransportException);
}

TEST_F(UsbHidTransportTest, FactoryMakesTheHidTransportForBothHidProtocols)
{
    auto& node = bed.AddUsbHidDevice(Reader("1-1", "S"), "hidraw0");
    for (const auto protocol : {ProtocolType::FeatureReport, ProtocolType::Mfp24})
    {
        const auto transport =
            PyxTransport::TransportFactory::CreateTransport(Definition("1-1", "", protocol));
        ASSERT_NE(dynamic_cast<UsbHidTransport*>(transport.get()), nullptr);
        transport->init(1);
        transport->transmit(Packet({static_cast<std::uint8_t>(protocol)}));
    }
    EXPECT_EQ(node.Reports(), (std::vector<SimulatedHidNode::Report>{{Direction::SetFeature, {0x00, 0x01}},
                                                                     {Direction::SetFeature, {0x00, 0x02}}}));
}

TEST(HidDeviceErrors, MissingHidapiMessageIsEmptyText)
{
    EXPECT_EQ(PyxTransport::HidDevice::ErrorText(nullptr), "");
    EXPECT_EQ(PyxTransport::HidDevice::ErrorText(L"Broken pipe \u00e9"), "Broken pipe \xC3\xA9");
}

TEST(HidDeviceErrors, OperationsOnAClosedDeviceFailInsteadOfCrashing)
{
    PyxTransport::HidDevice device;
    std::uint8_t buffer[9] = {};
    EXPECT_THROW(device.GetFeatureReport(buffer, sizeof buffer), std::runtime_error);
    EXPECT_THROW(device.SendFeatureReport(buffer, sizeof buffer), std::runtime_error);
    EXPECT_THROW(device.SendOutputReport(buffer, sizeof buffer), std::runtime_error);
}

TEST(UsbHidText, ConvertsUtf8BothWaysWhateverTheLocale)
{
    std::setlocale(LC_ALL, "C");
    struct Case
    {
        const char* utf8;
        std::wstring wide;
    };
    const Case cases[] = {
        {"1-2.3#USBMI(0)", L"1-2.3#USBMI(0)"},
        {"caf\xC3\xA9", L"caf\u00E9"},
        {"\xE2\x82\xAC 5", L"\u20AC 5"},
        {"\xF0\x9F\x94\x91", std::wstring(1, static_cast<wchar_t>(0x1F511))},
    };
    for (const auto& c : cases)
    {
        const auto wide = UsbHidTransport::Utf8ToWide(c.utf8);
        ASSERT_NE(wide, nullptr) << c.utf8;
        EXPECT_EQ(std::wstring(wide.get()), c.wide) << c.utf8;
        EXPECT_EQ(UsbHidTransport::WideToUtf8(c.wide.c_str()), c.utf8);
    }
    EXPECT_EQ(UsbHidTransport::Utf8ToWide(nullptr), nullptr);
    EXPECT_EQ(UsbHidTransport::Utf8ToWide(""), nullptr);
    EXPECT_EQ(UsbHidTransport::WideToUtf8(nullptr), "");
    EXPECT_EQ(UsbHidTransport::WideToUtf8(L""), "");
}

TEST(UsbHidText, MalformedInputBecomesReplacementCharacters)
{
    const std::wstring replacement(1, static_cast<wchar_t>(0xFFFD));
    const std::pair<const char*, std::wstring> cases[] = {
        {"a\x80z", L"a" + replacement + L"z"}, // stray continuation byte
        {"a\xC3", L"a" + replacement},         // cut short at the end
        {"\xC0\xAF", replacement},             // overlong form of '/'
        {"\xED\xA0\x80", replacement},         // a surrogate
        {"\xF4\x90\x80\x80", replacement},     // beyond U+10FFFF
        {"\xE2\x82z", replacement + L"z"},     // cut short before a plain byte
    };
    for (const auto& [utf8, wide] : cases)
    {
        EXPECT_EQ(std::wstring(UsbHidTransport::Utf8ToWide(utf8).get()), wide) << utf8;
    }
    const wchar_t invalid[] = {L'x', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(UsbHidTransport::WideToUtf8(invalid), "x\xEF\xBF\xBD\xEF\xBF\xBD");
}
} // namespace
