#include "HidTestbed.h"

#include <fstream>
#include <stdexcept>

#include <fmt/format.h>
#include <umockdev.h>

namespace PyxTest
{
namespace
{
// umockdev takes attributes and properties as zero-terminated arrays of alternating names and values.
class NameValueList
{
public:
    NameValueList(std::initializer_list<std::pair<std::string, std::string>> items)
    {
        for (const auto& [name, value] : items)
        {
            Add(name, value);
        }
    }
    void Add(const std::string& name, const std::string& value)
    {
        texts_.push_back(name);
        texts_.push_back(value);
    }
    gchar** Get()
    {
        pointers_.clear();
        for (auto& text : texts_)
        {
            pointers_.push_back(text.data());
        }
        pointers_.push_back(nullptr);
        return pointers_.data();
    }

private:
    std::vector<std::string> texts_;
    std::vector<gchar*> pointers_;
};

std::string AddDevice(UMockdevTestbed* testbed, const char* subsystem, const std::string& name,
                      const std::string& parent, NameValueList attributes, NameValueList properties)
{
    gchar* syspath = umockdev_testbed_add_devicev(testbed, subsystem, name.c_str(),
                                                  parent.empty() ? nullptr : parent.c_str(), attributes.Get(),
                                                  properties.Get());
    if (syspath == nullptr)
    {
        throw std::runtime_error("umockdev refused device " + name);
    }
    std::string result(syspath);
    g_free(syspath);
    return result;
}
} // namespace

HidTestbed::HidTestbed() : testbed_(umockdev_testbed_new())
{
    if (!umockdev_in_mock_environment())
    {
        g_object_unref(testbed_);
        throw std::runtime_error("HID tests must run under umockdev-run");
    }
}

HidTestbed::~HidTestbed()
{
    nodes_.clear();
    g_object_unref(testbed_);
}

void HidTestbed::AddRecording(const std::string& path)
{
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_file(testbed_, path.c_str(), &error))
    {
        const std::string message = error != nullptr ? error->message : "unknown error";
        if (error != nullptr)
        {
            g_error_free(error);
        }
        throw std::runtime_error("Cannot load " + path + ": " + message);
    }
}

void HidTestbed::AddSecurityKeyRecording()
{
    AddRecording(PYX_HID_SECURITY_KEY_RECORDING);
}

SimulatedHidNode& HidTestbed::Simulate(const std::string& devnode, const std::string& syspath)
{
    nodes_.push_back(std::make_unique<SimulatedHidNode>(testbed_, devnode, syspath));
    return *nodes_.back();
}

std::string HidTestbed::AddUsbDevice(const UsbDevice& device)
{
    const int number = static_cast<int>(usbDevices_.size()) + 2;
    NameValueList attributes{
        {"idVendor", fmt::format("{:04x}", device.vendorId)},
        {"idProduct", fmt::format("{:04x}", device.productId)},
        {"product", device.product + "\n"},
        {"manufacturer", "Test\n"},
        // The kernel pads the count to two places.
        {"bNumInterfaces", fmt::format("{:2}\n", device.interfaces)},
        {"busnum", "1\n"},
        {"devnum", fmt::format("{}\n", number)},
    };
    if (device.serial)
    {
        attributes.Add("serial", *device.serial + "\n");
    }
    NameValueList properties{
        {"DEVTYPE", "usb_device"},
        {"PRODUCT", fmt::format("{:x}/{:x}/100", device.vendorId, device.productId)},
        {"BUSNUM", "001"},
        {"DEVNUM", fmt::format("{:03}", number)},
    };
    std::string syspath =
        AddDevice(testbed_, "usb", device.port, "", std::move(attributes), std::move(properties));
    usbDevices_.emplace_back(syspath, device);
    return syspath;
}

SimulatedHidNode& HidTestbed::AddHidInterface(const std::string& usbSyspath, int interfaceNumber,
                                              const std::string& hidrawName)
{
    const UsbDevice* device = nullptr;
    for (const auto& [syspath, known] : usbDevices_)
    {
        if (syspath == usbSyspath)
        {
            device = &known;
        }
    }
    if (device == nullptr)
    {
        throw std::runtime_error("No USB device at " + usbSyspath);
    }
    const std::string interfacePath =
        AddDevice(testbed_, "usb", fmt::format("{}:1.{}", device->port, interfaceNumber), usbSyspath,
                  {{"bInterfaceNumber", fmt::format("{:02x}\n", interfaceNumber)},
                   {"bInterfaceClass", "03\n"},
                   {"bAlternateSetting", " 0\n"}},
                  {{"DEVTYPE", "usb_interface"}, {"INTERFACE", "3/0/0"}});
    return AddHidFunction(
        interfacePath,
        fmt::format("0003:{:04X}:{:04X}.{:04X}", device->vendorId, device->productId, ++hidSequence_),
        fmt::format("0003:{:08X}:{:08X}", device->vendorId, device->productId), device->serial.value_or(""),
        hidrawName);
}

SimulatedHidNode& HidTestbed::AddUsbHidDevice(const UsbDevice& device, const std::string& hidrawName)
{
    return AddHidInterface(AddUsbDevice(device), 0, hidrawName);
}

SimulatedHidNode& HidTestbed::AddBluetoothHidDevice(const std::string& adapterSyspath, std::uint16_t vendorId,
                                                    std::uint16_t productId, const std::string& hidrawName)
{
    const std::string port = adapterSyspath.substr(adapterSyspath.rfind('/') + 1);
    const std::string radio = AddDevice(testbed_, "usb", port + ":1.0", adapterSyspath,
                                        {{"bInterfaceNumber", "00\n"}, {"bInterfaceClass", "e0\n"}},
                                        {{"DEVTYPE", "usb_interface"}});
    const std::string controller = AddDevice(testbed_, "bluetooth", "hci0", radio, {}, {{"DEVTYPE", "host"}});
    const int sequence = ++hidSequence_;
    return AddHidFunction(controller, fmt::format("0005:{:04X}:{:04X}.{:04X}", vendorId, productId, sequence),
                          fmt::format("0005:{:08X}:{:08X}", vendorId, productId), "a4:c1:38:00:00:01",
                          hidrawName);
}

SimulatedHidNode& HidTestbed::AddI2cHidDevice(std::uint16_t vendorId, std::uint16_t productId,
                                              const std::string& hidrawName)
{
    const int sequence = ++hidSequence_;
    const std::string parent = AddDevice(testbed_, "i2c", fmt::format("i2c-TEST{:04X}:00", sequence), "",
                                         {{"name", "TEST0001:00\n"}}, {});
    return AddHidFunction(parent, fmt::format("0018:{:04X}:{:04X}.{:04X}", vendorId, productId, sequence),
                          fmt::format("0018:{:08X}:{:08X}", vendorId, productId), "", hidrawName);
}

SimulatedHidNode& HidTestbed::AddHidFunction(const std::string& parent, const std::string& hidName,
                                             const std::string& hidId, const std::string& uniq,
                                             const std::string& hidrawName)
{
    const std::string hidPath =
        AddDevice(testbed_, "hid", hidName, parent, {},
                  {{"HID_ID", hidId}, {"HID_NAME", "Test HID device"}, {"HID_UNIQ", uniq}});
    const auto& descriptor = SimulatedHidNode::ReportDescriptor();
    umockdev_testbed_set_attribute_binary(testbed_, hidPath.c_str(), "report_descriptor",
                                          const_cast<guint8*>(descriptor.data()),
                                          static_cast<gssize>(descriptor.size()));
    const std::string devnode = "/dev/" + hidrawName;
    const std::string minor = std::to_string(++hidrawSequence_);
    const std::string hidrawPath =
        AddDevice(testbed_, "hidraw", hidrawName, hidPath, {{"dev", "240:" + minor + "\n"}},
                  {{"DEVNAME", devnode}, {"MAJOR", "240"}, {"MINOR", minor}});
    // hidapi reads the HID device's uevent through the node's "device" link, as the kernel lays it out.
    umockdev_testbed_set_attribute_link(testbed_, hidrawPath.c_str(), "device", "..");
    // umockdev makes the node of a recorded device, not of one added by hand; the ioctl handler needs it.
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    const std::string file = std::string(root) + devnode;
    g_free(root);
    if (!std::ofstream(file))
    {
        throw std::runtime_error("Cannot create " + file);
    }
    return Simulate(devnode, hidrawPath);
}

void HidTestbed::Remove(const std::string& syspath)
{
    umockdev_testbed_remove_device(testbed_, syspath.c_str());
}
} // namespace PyxTest
