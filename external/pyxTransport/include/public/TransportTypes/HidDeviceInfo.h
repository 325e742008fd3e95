#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace PyxTransport
{
// One present HID interface, as reader discovery sees it.
struct HidDeviceInfo
{
    // The USB port the device hangs on ("1-2.3"), followed by "#USBMI(n)" for interface n of a device with
    // several interfaces; empty when the device is not on USB.
    std::string UsbBusPath;
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    std::string ProductName;  // UTF-8; empty when the device has none
    std::string SerialNumber; // UTF-8; empty when the device has none
    std::string DevicePath;   // the node hidapi opens ("/dev/hidraw3")
};

// Every present HID interface, one record per device path. Nothing is opened, and a device that cannot be
// read is left out instead of failing the walk; an empty result when the devices cannot be listed at all.
std::vector<HidDeviceInfo> EnumerateHidDevices();
} // namespace PyxTransport
