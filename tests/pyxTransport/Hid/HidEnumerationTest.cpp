// Enumeration and bus-path resolution against the real libudev, on a recorded device and on devices built
// in the testbed.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include <umockdev.h>

#include "HidTestbed.h"
#include "TransportTypes/HidDevice.h"
#include "TransportTypes/HidDeviceInfo.h"

namespace PyxTransport
{
bool operator==(const HidDeviceInfo& a, const HidDeviceInfo& b)
{
    return std::tie(a.UsbBusPath, a.VendorId, a.ProductId, a.ProductName, a.SerialNumber, a.DevicePath) ==
           std::tie(b.UsbBusPath, b.VendorId, b.ProductId, b.ProductName, b.SerialNumber, b.DevicePath);
}

void PrintTo(const HidDeviceInfo& info, std::ostream* out)
{
    *out << "{'" << info.UsbBusPath << "', " << std::hex << info.VendorId << ":" << info.ProductId << std::dec
         << ", '" << info.ProductName << "', '" << info.SerialNumber << "', '" << info.DevicePath << "'}";
}
} // namespace PyxTransport

namespace
{
using PyxTest::HidTestbed;
using PyxTransport::EnumerateHidDevices;
using PyxTransport::HidDevice;
using PyxTransport::HidDeviceInfo;

HidTestbed::UsbDevice Usb(std::string port, std::uint16_t productId, std::optional<std::string> serial,
                          int interfaces = 1)
{
    HidTestbed::UsbDevice device;
    device.port = std::move(port);
    device.vendorId = 0x0C27;
    device.productId = productId;
    device.product = "Desk Reader " + std::to_string(productId);
    device.serial = std::move(serial);
    device.interfaces = interfaces;
    return device;
}

std::vector<HidDeviceInfo> SortedByNode(std::vector<HidDeviceInfo> devices)
{
    std::sort(devices.begin(), devices.end(),
              [](const auto& a, const auto& b) { return a.DevicePath < b.DevicePath; });
    return devices;
}

TEST(HidEnumeration, RecordedDeviceIsListedWithItsPortAndWithoutSerial)
{
    HidTestbed bed;
    bed.AddSecurityKeyRecording();
    EXPECT_EQ(EnumerateHidDevices(),
              (std::vector<HidDeviceInfo>{
                  {"1-2.3", 0x1050, 0x0120, "Security Key by Yubico", "", "/dev/hidraw5"}}));
}

TEST(HidEnumeration, EmptySystemListsNothing)
{
    HidTestbed bed;
    EXPECT_TRUE(EnumerateHidDevices().empty());
    EXPECT_EQ(HidDevice::ResolveBusPath("1-1"), "");
}

TEST(HidEnumeration, BuiltDevicesCarryPortSerialAndInterfaceSuffix)
{
    HidTestbed bed;
    const auto& first = bed.AddUsbHidDevice(Usb("1-1", 0x3011, "A1B2C3"), "hidraw0");
    bed.AddUsbHidDevice(Usb("1-2", 0x3012, std::nullopt), "hidraw1");
    // A composite device: each HID interface is told apart by its number, written in decimal although sysfs
    // writes it in hexadecimal.
    const std::string composite = bed.AddUsbDevice(Usb("3-1.4", 0x3013, "C0MP", 12));
    bed.AddHidInterface(composite, 0, "hidraw2");
    bed.AddHidInterface(composite, 10, "hidraw3");
    bed.AddI2cHidDevice(0x04F3, 0x2A1C, "hidraw4");

    EXPECT_EQ(SortedByNode(EnumerateHidDevices()),
              (std::vector<HidDeviceInfo>{
                  {"1-1", 0x0C27, 0x3011, "Desk Reader 12305", "A1B2C3", "/dev/hidraw0"},
                  {"1-2", 0x0C27, 0x3012, "Desk Reader 12306", "", "/dev/hidraw1"},
                  {"3-1.4#USBMI(0)", 0x0C27, 0x3013, "Desk Reader 12307", "C0MP", "/dev/hidraw2"},
                  {"3-1.4#USBMI(10)", 0x0C27, 0x3013, "Desk Reader 12307", "C0MP", "/dev/hidraw3"},
                  {"", 0x04F3, 0x2A1C, "", "", "/dev/hidraw4"},
              }));
    // Listing and resolving only read sysfs: a device held elsewhere is never disturbed.
    EXPECT_EQ(HidDevice::ResolveBusPath("1-1"), "/dev/hidraw0");
    EXPECT_EQ(first.OpenCount(), 0);
}

TEST(HidEnumeration, InterfaceWithoutHidIdentityIsLeftOut)
{
    HidTestbed bed;
    bed.AddUsbHidDevice(Usb("1-1", 0x3011, "S1"), "hidraw0");
    // A hidraw node whose HID device has no usable HID_ID.
    const auto& broken = bed.AddHidInterface(bed.AddUsbDevice(Usb("1-3", 0x3014, "S2")), 0, "hidraw1");
    const std::string hid = broken.SysPath().substr(0, broken.SysPath().rfind('/'));
    umockdev_testbed_set_property(bed.Raw(), hid.c_str(), "HID_ID", "0003:garbage");

    const auto devices = EnumerateHidDevices();
    ASSERT_EQ(devices.size(), 1U);
    EXPECT_EQ(devices[0].DevicePath, "/dev/hidraw0");
}

TEST(HidEnumeration, RemovedDeviceIsNoLongerListed)
{
    HidTestbed bed;
    auto& node = bed.AddUsbHidDevice(Usb("1-1", 0x3011, "S1"), "hidraw0");
    bed.AddUsbHidDevice(Usb("1-2", 0x3012, "S2"), "hidraw1");
    node.Unplug();
    const auto devices = EnumerateHidDevices();
    ASSERT_EQ(devices.size(), 1U);
    EXPECT_EQ(devices[0].UsbBusPath, "1-2");
}

TEST(HidEnumeration, OnlyUsbDevicesCarryAPortPathAndTheUsbTexts)
{
    HidTestbed bed;
    // A Bluetooth keyboard behind a USB adapter on port 1-5: the adapter is not the keyboard.
    const std::string adapter = bed.AddUsbDevice(Usb("1-5", 0x0A12, "ADAPTER-1"));
    bed.AddBluetoothHidDevice(adapter, 0x046D, 0xB342, "hidraw0");
    // Texts as the device reports them, blanks included.
    bed.AddUsbHidDevice(Usb("1-6", 0x3016, "  SN42  "), "hidraw1");
    // A composite device whose second interface number cannot be read: the port alone would name both.
    const std::string composite = bed.AddUsbDevice(Usb("2-1", 0x3013, "C0MP", 2));
    bed.AddHidInterface(composite, 0, "hidraw2");
    bed.AddHidInterface(composite, 1, "hidraw3");
    umockdev_testbed_set_attribute(bed.Raw(), (composite + "/2-1:1.1").c_str(), "bInterfaceNumber", "??\n");

    EXPECT_EQ(SortedByNode(EnumerateHidDevices()),
              (std::vector<HidDeviceInfo>{
                  {"", 0x046D, 0xB342, "", "", "/dev/hidraw0"},
                  {"1-6", 0x0C27, 0x3016, "Desk Reader 12310", "  SN42  ", "/dev/hidraw1"},
                  {"2-1#USBMI(0)", 0x0C27, 0x3013, "Desk Reader 12307", "C0MP", "/dev/hidraw2"},
                  {"", 0x0C27, 0x3013, "Desk Reader 12307", "C0MP", "/dev/hidraw3"},
              }));
    EXPECT_EQ(HidDevice::ResolveBusPath("1-5"), "");
    EXPECT_EQ(HidDevice::ResolveBusPath("2-1"), "/dev/hidraw2");
}

TEST(HidEnumeration, PortOfACompositeDeviceResolvesToItsLowestInterface)
{
    HidTestbed bed;
    // udev lists "3-2:1.10" before "3-2:1.2".
    const std::string composite = bed.AddUsbDevice(Usb("3-2", 0x3015, "C0MP", 11));
    bed.AddHidInterface(composite, 10, "hidraw0");
    bed.AddHidInterface(composite, 2, "hidraw1");
    EXPECT_EQ(HidDevice::ResolveBusPath("3-2"), "/dev/hidraw1");
    EXPECT_EQ(HidDevice::ResolveBusPath("3-2#USBMI(10)"), "/dev/hidraw0");
}

// Ports whose names are prefixes of each other, a composite device, and a device off USB.
class BusPathResolution : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bed.AddUsbHidDevice(Usb("1-1", 0x3001, "P1"), "hidraw0");
        bed.AddUsbHidDevice(Usb("1-10", 0x3002, "P2"), "hidraw1");
        bed.AddUsbHidDevice(Usb("1-1.2", 0x3003, "P3"), "hidraw2");
        const std::string composite = bed.AddUsbDevice(Usb("2-3", 0x3004, "P4", 2));
        bed.AddHidInterface(composite, 0, "hidraw3");
        bed.AddHidInterface(composite, 1, "hidraw4");
        bed.AddI2cHidDevice(0x04F3, 0x2A1C, "hidraw5");
    }

    HidTestbed bed;
};

TEST_F(BusPathResolution, MatchesWholePortsAndCompositeInterfacesOnly)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"1-1", "/dev/hidraw0"},
        {"1-10", "/dev/hidraw1"},
        {"1-1.2", "/dev/hidraw2"},
        {"2-3", "/dev/hidraw3"}, // the port of a composite device: its first HID interface
        {"2-3#USBMI(1)", "/dev/hidraw4"},
        {"2-3#USBMI(", ""},
        {"2-3#USBMI(2)", ""},
        {"1-", ""},
        {"1-1 ", ""},
        {"", ""}, // the device off USB has no bus path to match
    };
    for (const auto& [busPath, node] : cases)
    {
        EXPECT_EQ(HidDevice::ResolveBusPath(busPath), node) << "'" << busPath << "'";
    }
}

TEST_F(BusPathResolution, PortNeverMatchesALongerPortItPrefixes)
{
    bed.Remove("/sys/devices/1-1");
    EXPECT_EQ(HidDevice::ResolveBusPath("1-1"), "");
    EXPECT_EQ(HidDevice::ResolveBusPath("1-10"), "/dev/hidraw1");
}

TEST(HidEnumeration, RecordedDeviceResolvesFromItsPort)
{
    HidTestbed bed;
    bed.AddSecurityKeyRecording();
    EXPECT_EQ(HidDevice::ResolveBusPath("1-2.3"), "/dev/hidraw5");
    EXPECT_EQ(HidDevice::ResolveBusPath("1-2"), "");
}
} // namespace
