// Discovery of the supported USB readers on a umockdev testbed, through the real libudev enumeration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "HidTestbed.h"
#include "ProtocolFacade.h"
#include "ProtocolFacadeExports.h"

namespace
{
using PyxCommon::ReaderDefinition;
using PyxProtocol::ProtocolFacade;
using PyxTest::HidTestbed;

constexpr std::uint16_t kVendor = 0xFFFF;
constexpr const char* kExportsPath = "external/pyxProtocol/src/ProtocolFacadeExports.cpp";

HidTestbed::UsbDevice Device(const std::string& port, std::uint16_t vendorId, std::uint16_t productId,
                             std::optional<std::string> serial, int interfaces = 1)
{
    HidTestbed::UsbDevice device;
    device.port = port;
    device.vendorId = vendorId;
    device.productId = productId;
    device.product = "Reader";
    device.serial = std::move(serial);
    device.interfaces = interfaces;
    return device;
}

std::vector<std::string> PathsOf(const std::vector<ReaderDefinition>& readers)
{
    std::vector<std::string> paths;
    for (const ReaderDefinition& reader : readers)
    {
        paths.push_back(reader.DeviceId.UsbPath);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class FacadeDiscoveryTest : public ::testing::Test
{
protected:
    // Supported: a plain reader, a composite reader with two HID interfaces, one not on USB and one with an
    // over-long serial number. Not supported: a foreign device, and a product id of ours not in the table.
    void AddMixedDevices()
    {
        testbed_.AddUsbHidDevice(Device("1-1", kVendor, 0xA001, "R1"), "hidraw0");
        testbed_.AddUsbHidDevice(Device("1-2", 0x1A2B, 0x3C4D, "X1"), "hidraw1");
        const std::string composite = testbed_.AddUsbDevice(Device("1-3", kVendor, 0xA011, "C1", 2));
        testbed_.AddHidInterface(composite, 0, "hidraw2");
        testbed_.AddHidInterface(composite, 1, "hidraw3");
        testbed_.AddI2cHidDevice(kVendor, 0xA002, "hidraw4");
        testbed_.AddUsbHidDevice(Device("1-4", kVendor, 0xA005, std::string(300, 'S')), "hidraw5");
        testbed_.AddUsbHidDevice(Device("1-5", kVendor, 0xB000, "N1"), "hidraw6");
    }

    HidTestbed testbed_;
};

TEST_F(FacadeDiscoveryTest, ReportsEverySupportedInterfaceAsAFeatureReportReader)
{
    AddMixedDevices();
    std::vector<ReaderDefinition> readers(3);

    const ProtocolCommandResult result = ProtocolFacade::DiscoverUsbReaders(readers);

    ASSERT_FALSE(result.HasException) << result.Message;
    EXPECT_EQ(PathsOf(readers), (std::vector<std::string>{"", "1-1", "1-3#USBMI(0)", "1-3#USBMI(1)", "1-4"}));
    const PyxCommon::SerialPortSettings noSerialPort{};
    for (const ReaderDefinition& reader : readers)
    {
        SCOPED_TRACE(reader.DeviceId.UsbPath);
        EXPECT_EQ(reader.ProtocolType, ProtocolType::FeatureReport);
        EXPECT_EQ(+reader.DeviceId.VendorId, kVendor);
        EXPECT_EQ(std::memcmp(&reader.SerialPortSettings, &noSerialPort, sizeof noSerialPort), 0);
        const std::string path = reader.DeviceId.UsbPath;
        const std::string serial = reader.DeviceId.SerialNumber;
        if (path == "1-4")
        {
            EXPECT_EQ(serial, std::string(255, 'S'));
        }
        else if (path.starts_with("1-3"))
        {
            EXPECT_EQ(serial, "C1");
            EXPECT_EQ(+reader.DeviceId.ProductId, 0xA011);
        }
        else if (path.empty())
        {
            // Not on USB: matched by its ids alone, with no USB texts.
            EXPECT_EQ(serial, "");
            EXPECT_EQ(+reader.DeviceId.ProductId, 0xA002);
        }
    }
}

TEST_F(FacadeDiscoveryTest, FlatDiscoveryCountsThenCopies)
{
    AddMixedDevices();
    ProtocolCommandResult result = DiscoverUsbReaders(nullptr, nullptr);
    EXPECT_TRUE(result.HasException);
    EXPECT_STREQ(result.ExceptionType, "InvalidArgument");
    EXPECT_STREQ(result.Message, "readerCount pointer cannot be null");
    EXPECT_STREQ(result.FileName, kExportsPath);
    EXPECT_EQ(result.LineNumber, 65);
    EXPECT_STREQ(result.FunctionName, "DiscoverUsbReaders");

    std::size_t count = 0;
    result = DiscoverUsbReaders(nullptr, &count);
    ASSERT_FALSE(result.HasException) << result.Message;
    ASSERT_EQ(count, 5u);

    std::vector<ReaderDefinition> readers(count);
    std::memset(static_cast<void*>(readers.data()), 0xEE, readers.size() * sizeof(ReaderDefinition));
    const std::vector<ReaderDefinition> untouched = readers;
    std::size_t tooFew = count - 1;
    result = DiscoverUsbReaders(readers.data(), &tooFew);
    EXPECT_TRUE(result.HasException);
    EXPECT_STREQ(result.ExceptionType, "InvalidArgument");
    EXPECT_STREQ(result.Message,
                 "Provided readerCount does not match the number of readers. Call "
                 "DiscoverUsbReaders with readers set to nullptr to get the required buffer size.");
    EXPECT_STREQ(result.FileName, kExportsPath);
    EXPECT_EQ(result.LineNumber, 80);
    EXPECT_EQ(std::memcmp(readers.data(), untouched.data(), readers.size() * sizeof(ReaderDefinition)), 0);

    // The copy hands out what the count found, even once the devices are gone.
    testbed_.Remove("/sys/devices/1-1");
    result = DiscoverUsbReaders(readers.data(), &count);
    EXPECT_FALSE(result.HasException) << result.Message;
    EXPECT_EQ(PathsOf(readers), (std::vector<std::string>{"", "1-1", "1-3#USBMI(0)", "1-3#USBMI(1)", "1-4"}));
}

TEST_F(FacadeDiscoveryTest, NoSupportedReaderIsAnEmptySuccess)
{
    testbed_.AddUsbHidDevice(Device("1-2", 0x1A2B, 0x3C4D, "X1"), "hidraw0");
    std::size_t count = 7;
    EXPECT_FALSE(DiscoverUsbReaders(nullptr, &count).HasException);
    EXPECT_EQ(count, 0u);
    ReaderDefinition reader{};
    EXPECT_FALSE(DiscoverUsbReaders(&reader, &count).HasException);
}
} // namespace
