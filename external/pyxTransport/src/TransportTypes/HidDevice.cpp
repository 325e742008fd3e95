#include "TransportTypes/HidDevice.h"

#include <stdexcept>

#include <fmt/format.h>
#include <hidapi/hidapi.h>

#include "Linux/WideText.h"

namespace PyxTransport
{
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
    return ErrorText(hid_error(handle_.get()));
}

std::string HidDevice::ErrorText(const wchar_t* message)
{
    // hidapi may have no message at all; a null text must not take the error report down with it.
    if (message == nullptr)
    {
        return {};
    }
    return Linux::WideToUtf8(message);
}

void HidDevice::Open(std::uint16_t vendorId, std::uint16_t productId, const wchar_t* serialNumber)
{
    Close();
    handle_.reset(hid_open(vendorId, productId, serialNumber));
    if (!handle_)
    {
        throw std::runtime_error(fmt::format("Unable to Open device {:04x}:{:04x}. Library message: {}",
                                             vendorId, productId, LastErrorMessage()));
    }
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
    handle_.reset(hid_open_path(devicePath.c_str()));
    if (!handle_)
    {
        throw std::runtime_error(
            fmt::format("Unable to open device at {} (resolved from {}). Library message: {}", devicePath,
                        busPath, LastErrorMessage()));
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
