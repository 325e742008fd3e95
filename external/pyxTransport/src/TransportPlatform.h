#pragma once

// What the transports need from the operating system, in neutral terms. Each platform implements these in
// its own folder (src/Linux here); nothing above this header names a platform type or call.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TransportTypes/HidDeviceInfo.h"
#include "TransportTypes/SerialPortWrapper.h"

namespace PyxTransport::Platform
{
// A closed serial port of this platform, for the serial transport.
std::unique_ptr<SerialPortWrapper> NewSerialPort();

// Every present HID interface, one record per device path, in the system's order; nothing when the devices
// cannot be listed at all. Nothing is opened.
std::optional<std::vector<HidDeviceInfo>> ListHidDevices();

// UTF-8 to wchar_t text and back, independent of the process locale. Malformed input (a bad or cut-short
// sequence, an overlong form, a surrogate, a value beyond U+10FFFF) becomes U+FFFD instead of failing the
// whole conversion.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
} // namespace PyxTransport::Platform
