#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct hid_device_;

namespace PyxTransport
{
// Owner of one hidapi device handle. Every failure is a std::runtime_error carrying hidapi's own message.
class HidDevice
{
public:
    HidDevice();
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Initialises hidapi once for the process; throws std::runtime_error when it cannot, and tries again on
    // the next call.
    static void InitLibrary();

    // Opens the first listed device with these ids, and this serial number unless it is null (compared as
    // the device reports it).
    void Open(std::uint16_t vendorId, std::uint16_t productId, const wchar_t* serialNumber);
    // Opens the HID interface on the USB port `busPath` (see ResolveBusPath).
    void OpenBusPath(const std::string& busPath);
    // Closes the handle, if any; the object can open again afterwards.
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // Each returns hidapi's byte count; only -1 is a failure.
    int GetFeatureReport(std::uint8_t* buffer, std::size_t length);
    int SendFeatureReport(const std::uint8_t* buffer, std::size_t length);
    int SendOutputReport(const std::uint8_t* buffer, std::size_t length);

    // hidapi's last error for the held handle (the library-wide one when none is held), in UTF-8; empty when
    // hidapi has none.
    std::string LastErrorMessage() const;
    // An error text of hidapi in UTF-8; empty for null.
    static std::string ErrorText(const wchar_t* message);

    // The device node of the HID interface whose bus path is `busPath`, or of an interface of the composite
    // device on that port, the one with the lowest interface number ("1-2" finds "1-2#USBMI(0)", never
    // "1-20" or "1-2.1"); empty when none matches.
    // Throws std::runtime_error when the devices cannot be listed at all.
    static std::string ResolveBusPath(const std::string& busPath);

private:
    // Opens the node; on failure leaves no handle and hidapi's message in `failure`.
    bool OpenPath(const std::string& devicePath, std::string& failure);
    // Runs one hidapi call on the held handle. No handle is refused before hidapi could dereference it, and
    // hidapi's -1 is thrown with its message; `action` completes "Unable to ...".
    template <typename Call> int Run(const char* action, Call call);

    struct Closer
    {
        void operator()(hid_device_* handle) const;
    };
    std::unique_ptr<hid_device_, Closer> handle_;
};
} // namespace PyxTransport
