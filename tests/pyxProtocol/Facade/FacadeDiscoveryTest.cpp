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
using Paths = std::vector<std::string>;

constexpr std::uint16_t kVendor = 0xFFFF;

class FacadeDiscoveryTest : public ::testing::Test
{
protected:
    void Add(const std::string& port, std::uint16_t vendorId, std::uint16_t productId,
             const std::string& serial, int interfaces = 1)
    {
        const std::string syspath =
            testbed_.AddUsbDevice({port, vendorId, productId, "Reader", serial, interfaces});
        for (int i = 0; i < interfaces; ++i)
        {
            testbed_.AddHidInterface(syspath, i, "hidraw" + std::to_string(nodes_++));
        }
    }

    // Supported: a plain reader, a composite reader with two HID interfaces, one not on USB and one with a
    // 300-character serial number. Skipped: a foreign device and a product id of ours outside the table.
    void AddMixedDevices()
    {
        Add("1-1", kVendor, 0xA001, "R1");
        Add("1-2", 0x1A2B, 0x3C4D, "X1");
        Add("1-3", kVendor, 0xA011, "C1", 2);
        testbed_.AddI2cHidDevice(kVendor, 0xA002, "hidraw" + std::to_string(nodes_++));
        Add("1-4", kVendor, 0xA005, std::string(300, 'S'));
        Add("1-5", kVendor, 0xB000, "N1");
    }

    static Paths PathsOf(const ReaderDefinition* readers, std::size_t count)
    {
        Paths paths;
        std::transform(readers, readers + count, std::back_inserter(paths),
                       [](const ReaderDefinition& reader) { return std::string(reader.DeviceId.UsbPath); });
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    const Paths kFound{"", "1-1", "1-3#USBMI(0)", "1-3#USBMI(1)", "1-4"};
    PyxTest::HidTestbed testbed_;
    int nodes_ = 0;
};

TEST_F(FacadeDiscoveryTest, ReportsEverySupportedInterfaceAsAFeatureReportReader)
{
    AddMixedDevices();
    std::vector<ReaderDefinition> readers(3);
    ASSERT_FALSE(PyxProtocol::ProtocolFacade::DiscoverUsbReaders(readers).HasException);

    EXPECT_EQ(PathsOf(readers.data(), readers.size()), kFound);
    const PyxCommon::SerialPortSettings noSerialPort{};
    for (const ReaderDefinition& reader : readers)
    {
        const std::string path = reader.DeviceId.UsbPath;
        const std::string serial = reader.DeviceId.SerialNumber;
        SCOPED_TRACE(path);
        EXPECT_EQ(reader.ProtocolType, ProtocolType::FeatureReport);
        EXPECT_EQ(+reader.DeviceId.VendorId, kVendor);
        EXPECT_EQ(std::memcmp(&reader.SerialPortSettings, &noSerialPort, sizeof noSerialPort), 0);
        // Not on USB: matched by its ids alone, without USB texts; over-long serial numbers are cut.
        const std::string expected = path.empty()    ? ""
                                     : path == "1-4" ? std::string(255, 'S')
                                     : path == "1-1" ? "R1"
                                                     : "C1";
        EXPECT_EQ(serial, expected);
    }
}

TEST_F(FacadeDiscoveryTest, FlatDiscoveryCountsThenCopies)
{
    AddMixedDevices();
    ProtocolCommandResult result = DiscoverUsbReaders(nullptr, nullptr);
    EXPECT_STREQ(result.ExceptionType, "InvalidArgument");
    EXPECT_STREQ(result.Message, "readerCount pointer cannot be null");
    EXPECT_STREQ(result.FileName, "external/pyxProtocol/src/ProtocolFacadeExports.cpp");
    EXPECT_EQ(result.LineNumber, 65);
    EXPECT_STREQ(result.FunctionName, "DiscoverUsbReaders");

    std::size_t count = 0;
    ASSERT_FALSE(DiscoverUsbReaders(nullptr, &count).HasException);
    ASSERT_EQ(count, kFound.size());

    std::vector<ReaderDefinition> readers(count);
    std::size_t tooFew = count - 1;
    result = DiscoverUsbReaders(readers.data(), &tooFew);
    EXPECT_STREQ(result.Message,
                 "Provided readerCount does not match the number of readers. Call "
                 "DiscoverUsbReaders with readers set to nullptr to get the required buffer size.");
    EXPECT_EQ(result.LineNumber, 80);
    EXPECT_EQ(PathsOf(readers.data(), 1), Paths{""}); // untouched

    // The copy hands out what the count found, even once a device is gone.
    testbed_.Remove("/sys/devices/1-1");
    EXPECT_FALSE(DiscoverUsbReaders(readers.data(), &count).HasException);
    EXPECT_EQ(PathsOf(readers.data(), count), kFound);
}

TEST_F(FacadeDiscoveryTest, NoSupportedReaderIsAnEmptySuccess)
{
    Add("1-2", 0x1A2B, 0x3C4D, "X1");
    std::size_t count = 7;
    EXPECT_FALSE(DiscoverUsbReaders(nullptr, &count).HasException);
    EXPECT_EQ(count, 0u);
    ReaderDefinition reader{};
    EXPECT_FALSE(DiscoverUsbReaders(&reader, &count).HasException);
}
} // namespace
