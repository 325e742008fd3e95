#include "TransportTypes/HidDevice.h"

#include <mutex>
#include <stdexcept>

#include <fmt/format.h>
#include <hidapi/hidapi.h>

#include "TransportPlatform.h"
#include "TransportTypes/HidDeviceInfo.h"

namespace PyxTransport
{
namespace
{
// hidapi keeps one error text for the whole process, written by any thread's failing call: a call whose
// failure text is wanted and the reading of that text run together under this lock.
std::mutex& HidapiErrorLock()
{
    static std::mutex lock;
    return lock;
}

std::once_flag hidapiInitialised;
} // namespace

void HidDevice::InitLibrary()
{
    // hidapi asks for one hid_init before threads open devices. A failed call leaves the flag unset, so the
    // next transport tries again.
    std::call_once(hidapiInitialised,
                   []
                   {
                       std::lock_guard lock(HidapiErrorLock());
                       if (hid_init() == -1)
                       {
                           throw std::runtime_error(fmt::format("Unable to initialize HIDAPI library. {}",
                                                                ErrorText(hid_error(nullptr))));
                       }
                   });
}

void HidDevice::Closer::operator()(hid_device_* handle) const
{
    hid_close(handle);
}

HidDevice::HidDevice() = default;

HidDevice::~HidDevice() = default;

void HidDevice::Close()
{
    handle_.reset();
}

std::string HidDevice::LastErrorMessage() const
{
    std::lock_guard lock(HidapiErrorLock());
    return ErrorText(hid_error(handle_.get()));
}

std::string HidDevice::ErrorText(const wchar_t* message)
{
    // hidapi may have no message at all; a null text must not take the error report down with it.
    if (message == nullptr)
    {
        return {};
    }
    return Platform::WideToUtf8(message);
}

void HidDevice::Open(std::uint16_t vendorId, std::uint16_t productId, const wchar_t* serialNumber)
{
    Close();
    // Matched on the library's own listing, in UTF-8: hidapi's own matching converts the serial number
    // through the process locale, so a non-ASCII serial number would be found or not depending on it.
    const std::string serial = serialNumber == nullptr ? std::string() : Platform::WideToUtf8(serialNumber);
    std::string devicePath;
    for (const auto& device : EnumerateHidDevices())
    {
        if (device.VendorId == vendorId && device.ProductId == productId &&
            (serialNumber == nullptr || device.SerialNumber == serial))
        {
            devicePath = device.DevicePath;
            break;
        }
    }
    std::string failure;
    if (devicePath.empty())
    {
        failure = "No HID device with the requested vendor id, product id and serial number";
    }
    else if (!OpenPath(devicePath, failure))
    {
        failure = fmt::format("{} ({})", failure, devicePath);
    }
    if (!handle_)
    {
        throw std::runtime_error(fmt::format("Unable to Open device {:04x}:{:04x}. Library message: {}",
                                             vendorId, productId, failure));
    }
}

bool HidDevice::OpenPath(const std::string& devicePath, std::string& failure)
{
    std::lock_guard lock(HidapiErrorLock());
    handle_.reset(hid_open_path(devicePath.c_str()));
    if (!handle_)
    {
        failure = ErrorText(hid_error(nullptr));
    }
    return handle_ != nullptr;
}

void HidDevice::OpenBusPath(const std::string& busPath)
{
    Close();
    const std::string devicePath = ResolveBusPath(busPath);
    if (devicePath.empty())
    {
        throw std::runtime_error(
            fmt::format("Unable to resolve USB bus path '{}' to HID device path", busPath));
    }
    std::string failure;
    if (!OpenPath(devicePath, failure))
    {
        throw std::runtime_error(
            fmt::format("Unable to open device at {} (resolved from {}). Library message: {}", devicePath,
                        busPath, failure));
    }
}

template <typename Call> int HidDevice::Run(const char* action, Call call)
{
    if (!handle_)
    {
        throw std::runtime_error(fmt::format("Unable to {}. Library message: device is not open", action));
    }
    const int result = call(handle_.get());
    if (result == -1)
    {
        throw std::runtime_error(
            fmt::format("Unable to {}. Library message: {}", action, LastErrorMessage()));
    }
    return result;
}

int HidDevice::GetFeatureReport(std::uint8_t* buffer, std::size_t length)
{
    return Run("receive feature report",
               [&](hid_device* device) { return hid_get_feature_report(device, buffer, length); });
}

int HidDevice::SendFeatureReport(const std::uint8_t* buffer, std::size_t length)
{
    return Run("send feature report",
               [&](hid_device* device) { return hid_send_feature_report(device, buffer, length); });
}

int HidDevice::SendOutputReport(const std::uint8_t* buffer, std::size_t length)
{
    return Run("send output report", [&](hid_device* device) { return hid_write(device, buffer, length); });
}
} // namespace PyxTransport
