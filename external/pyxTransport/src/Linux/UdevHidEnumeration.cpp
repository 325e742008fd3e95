// HID enumeration and bus-path resolution through libudev, the way hidapi's hidraw back-end finds devices:
// every hidraw node, identified by its parent hid device and located by its parent USB device.
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>
#include <libudev.h>

#include "TransportPlatform.h"

namespace PyxTransport
{
namespace
{
struct UdevUnref
{
    void operator()(udev* handle) const { udev_unref(handle); }
};
struct EnumerateUnref
{
    void operator()(udev_enumerate* handle) const { udev_enumerate_unref(handle); }
};
struct DeviceUnref
{
    void operator()(udev_device* handle) const { udev_device_unref(handle); }
};
using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using EnumeratePtr = std::unique_ptr<udev_enumerate, EnumerateUnref>;
using DevicePtr = std::unique_ptr<udev_device, DeviceUnref>;

constexpr std::string_view kInterfaceSuffix = "#USBMI(";

// A sysfs number without the blanks sysfs pads it with.
std::string TrimmedNumber(const char* text)
{
    if (text == nullptr)
    {
        return {};
    }
    std::string_view view(text);
    while (!view.empty() && (view.back() == '\n' || view.back() == ' ' || view.back() == '\t'))
    {
        view.remove_suffix(1);
    }
    while (!view.empty() && (view.front() == ' ' || view.front() == '\t'))
    {
        view.remove_prefix(1);
    }
    return std::string(view);
}

std::string Text(const char* text)
{
    return text == nullptr ? std::string() : std::string(text);
}

// A whole unsigned number in `base`, or nothing (sysfs writes "bNumInterfaces= 1" and "bInterfaceNumber=00").
std::optional<unsigned long> ParseNumber(const std::string& text, int base)
{
    if (text.empty())
    {
        return std::nullopt;
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, base);
    if (end == nullptr || *end != '\0' || text.front() == '-')
    {
        return std::nullopt;
    }
    return value;
}

constexpr unsigned long kBusUsb = 0x0003;

// HID_ID is "bus:vendor:product" in hexadecimal, e.g. "0003:00001050:00000120".
bool ParseHidId(const char* hidId, unsigned long& bus, std::uint16_t& vendorId, std::uint16_t& productId)
{
    const std::string text = TrimmedNumber(hidId);
    const auto first = text.find(':');
    const auto second = first == std::string::npos ? std::string::npos : text.find(':', first + 1);
    if (second == std::string::npos)
    {
        return false;
    }
    const auto busNumber = ParseNumber(text.substr(0, first), 16);
    const auto vendor = ParseNumber(text.substr(first + 1, second - first - 1), 16);
    const auto product = ParseNumber(text.substr(second + 1), 16);
    if (!busNumber || !vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF)
    {
        return false;
    }
    bus = *busNumber;
    vendorId = static_cast<std::uint16_t>(*vendor);
    productId = static_cast<std::uint16_t>(*product);
    return true;
}

// The USB port of the device, and the interface on it when the device has several. Empty when the
// interface of a composite device cannot be told: the port alone would name several nodes.
std::string BusPathOf(udev_device* hidraw, udev_device* usbDevice)
{
    const char* port = udev_device_get_sysname(usbDevice);
    if (port == nullptr || *port == '\0')
    {
        return {};
    }
    std::string path(port);
    const auto interfaces =
        ParseNumber(TrimmedNumber(udev_device_get_sysattr_value(usbDevice, "bNumInterfaces")), 10);
    if (interfaces && *interfaces > 1)
    {
        udev_device* usbInterface =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface");
        const auto number =
            usbInterface == nullptr
                ? std::nullopt
                : ParseNumber(TrimmedNumber(udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber")),
                              16);
        if (!number)
        {
            return {};
        }
        path += fmt::format("{}{})", kInterfaceSuffix, *number);
    }
    return path;
}

std::optional<HidDeviceInfo> Describe(udev_device* hidraw)
{
    const char* node = udev_device_get_devnode(hidraw);
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
    if (node == nullptr || hid == nullptr)
    {
        return std::nullopt;
    }
    HidDeviceInfo info;
    unsigned long bus = 0;
    if (!ParseHidId(udev_device_get_property_value(hid, "HID_ID"), bus, info.VendorId, info.ProductId))
    {
        return std::nullopt;
    }
    info.DevicePath = node;
    // A USB device above a device on another bus is only its adapter (a Bluetooth dongle): its port, name
    // and serial number are not the device's.
    udev_device* usbDevice =
        bus == kBusUsb ? udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device") : nullptr;
    if (usbDevice != nullptr)
    {
        // Kept as the device reports them: a serial number is matched byte for byte when the device is
        // opened.
        info.ProductName = Text(udev_device_get_sysattr_value(usbDevice, "product"));
        info.SerialNumber = Text(udev_device_get_sysattr_value(usbDevice, "serial"));
        info.UsbBusPath = BusPathOf(hidraw, usbDevice);
    }
    return info;
}

// Every hidraw interface that can be described, in udev's order, one per node; nothing when udev cannot
// list the devices at all.
} // namespace

std::optional<std::vector<HidDeviceInfo>> Platform::ListHidDevices()
{
    UdevPtr context(udev_new());
    if (!context)
    {
        return std::nullopt;
    }
    EnumeratePtr enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0)
    {
        return std::nullopt;
    }
    std::vector<HidDeviceInfo> result;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
    {
        const char* syspath = udev_list_entry_get_name(entry);
        if (syspath == nullptr)
        {
            continue;
        }
        DevicePtr hidraw(udev_device_new_from_syspath(context.get(), syspath));
        if (!hidraw)
        {
            continue;
        }
        auto info = Describe(hidraw.get());
        if (!info)
        {
            continue;
        }
        bool seen = false;
        for (const auto& known : result)
        {
            seen = seen || known.DevicePath == info->DevicePath;
        }
        if (!seen)
        {
            result.push_back(std::move(*info));
        }
    }
    return result;
}
} // namespace PyxTransport
