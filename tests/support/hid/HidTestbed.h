#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SimulatedHidNode.h"

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace PyxTest
{
// A umockdev testbed holding hidraw devices, seen by the real libudev and hidapi of the test process. The
// process must run under `umockdev-run` (pyx_add_test(... UMOCKDEV)). Build one per test: the devices
// leave with it.
class HidTestbed
{
public:
    // A USB device on a port.
    struct UsbDevice
    {
        std::string port = "1-1"; // the device's sysname, which is also its bus path
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::string product;
        std::optional<std::string> serial; // no `serial` attribute when absent
        int interfaces = 1;                // bNumInterfaces
    };

    HidTestbed();
    ~HidTestbed();
    HidTestbed(const HidTestbed&) = delete;
    HidTestbed& operator=(const HidTestbed&) = delete;

    // Adds the devices of a umockdev-record file.
    void AddRecording(const std::string& path);
    // The recorded security key: node /dev/hidraw5, ids 1050:0120, port "1-2.3", no serial number.
    void AddSecurityKeyRecording();
    // Answers the ioctls of a node that came with a recording.
    SimulatedHidNode& Simulate(const std::string& devnode, const std::string& syspath);

    // Adds the USB device; returns its sysfs path, the parent for AddHidInterface.
    std::string AddUsbDevice(const UsbDevice& device);
    // Adds interface `interfaceNumber` of that USB device with a HID function and its node `hidrawName`
    // ("hidraw0", unique in the testbed), simulated.
    SimulatedHidNode& AddHidInterface(const std::string& usbSyspath, int interfaceNumber,
                                      const std::string& hidrawName);
    // A USB device with one HID interface.
    SimulatedHidNode& AddUsbHidDevice(const UsbDevice& device, const std::string& hidrawName);
    // A Bluetooth HID device (bus 0005) reached through the USB adapter at `adapterSyspath` (from
    // AddUsbDevice): the USB device sits above it in sysfs but is not the device.
    SimulatedHidNode& AddBluetoothHidDevice(const std::string& adapterSyspath, std::uint16_t vendorId,
                                            std::uint16_t productId, const std::string& hidrawName);
    // A HID device on I2C, not on USB.
    SimulatedHidNode& AddI2cHidDevice(std::uint16_t vendorId, std::uint16_t productId,
                                      const std::string& hidrawName);

    // Removes a device and everything below it.
    void Remove(const std::string& syspath);

    UMockdevTestbed* Raw() const { return testbed_; }

private:
    SimulatedHidNode& AddHidFunction(const std::string& parent, const std::string& hidName,
                                     const std::string& hidId, const std::string& uniq,
                                     const std::string& hidrawName);

    UMockdevTestbed* testbed_ = nullptr;
    std::vector<std::unique_ptr<SimulatedHidNode>> nodes_;
    // USB sysfs path -> the device it was made from, for the interfaces added below it.
    std::vector<std::pair<std::string, UsbDevice>> usbDevices_;
    int hidSequence_ = 0;
    int hidrawSequence_ = 0;
};
} // namespace PyxTest
