// HID enumeration and bus-path resolution through libudev, the way hidapi's hidraw back-end finds devices:
// every hidraw node, identified by its parent hid device and located by its parent USB device.
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>
#include <libudev.h>

#include "TransportTypes/HidDevice.h"
#include "TransportTypes/HidDeviceInfo.h"

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

std::string Trimmed(const char* text)
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

// HID_ID is "bus:vendor:product" in hexadecimal, e.g. "0003:00001050:00000120".
bool ParseHidId(const char* hidId, std::uint16_t& vendorId, std::uint16_t& productId)
{
    const std::string text = Trimmed(hidId);
    const auto first = text.find(':');
    const auto second = first == std::string::npos ? std::string::npos : text.find(':', first + 1);
    if (second == std::string::npos)
    {
        return false;
    }
    const auto vendor = ParseNumber(text.substr(first + 1, second - first - 1), 16);
    const auto product = ParseNumber(text.substr(second + 1), 16);
    if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF)
    {
        return false;
    }
    vendorId = static_cast<std::uint16_t>(*vendor);
    productId = static_cast<std::uint16_t>(*product);
    return true;
}

// The USB port of the device, and the interface on it when the device has several.
std::string BusPathOf(udev_device* hidraw, udev_device* usbDevice)
{
    const char* port = udev_device_get_sysname(usbDevice);
    if (port == nullptr || *port == '\0')
    {
        return {};
    }
    std::string path(port);
    const auto interfaces =
        ParseNumber(Trimmed(udev_device_get_sysattr_value(usbDevice, "bNumInterfaces")), 10);
    if (interfaces && *interfaces > 1)
    {
        udev_device* usbInterface =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface");
        const auto number =
            usbInterface == nullptr
                ? std::nullopt
                : ParseNumber(Trimmed(udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber")), 16);
        if (number)
        {
            path += fmt::format("{}{})", kInterfaceSuffix, *number);
        }
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
    if (!ParseHidId(udev_device_get_property_value(hid, "HID_ID"), info.VendorId, info.ProductId))
    {
        return std::nullopt;
    }
    info.DevicePath = node;
    if (udev_device* usbDevice = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device"))
    {
        info.ProductName = Trimmed(udev_device_get_sysattr_value(usbDevice, "product"));
        info.SerialNumber = Trimmed(udev_device_get_sysattr_value(usbDevice, "serial"));
        info.UsbBusPath = BusPathOf(hidraw, usbDevice);
    }
    return info;
}

// Every hidraw interface that can be described, in udev's order, one per node; nothing when udev cannot
// list the devices at all.
std::optional<std::vector<HidDeviceInfo>> Walk()
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

bool BusPathMatches(const std::string& candidate, const std::string& busPath)
{
    if (candidate == busPath)
    {
        return true;
    }
    const std::string prefix = busPath + std::string(kInterfaceSuffix);
    return candidate.size() > prefix.size() && candidate.compare(0, prefix.size(), prefix) == 0;
}
} // namespace

std::vector<HidDeviceInfo> EnumerateHidDevices()
{
    auto devices = Walk();
    return devices ? std::move(*devices) : std::vector<HidDeviceInfo>{};
}

std::string HidDevice::ResolveBusPath(const std::string& busPath)
{
    const auto devices = Walk();
    if (!devices)
    {
        throw std::runtime_error("Failed to enumerate HID devices");
    }
    for (const auto& device : *devices)
    {
        if (!device.UsbBusPath.empty() && BusPathMatches(device.UsbBusPath, busPath))
        {
            return device.DevicePath;
        }
    }
    return {};
}
} // namespace PyxTransport
