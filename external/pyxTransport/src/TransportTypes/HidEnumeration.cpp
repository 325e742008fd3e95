// Listing and bus-path resolution on top of the platform's device walk.
#include <cstdlib>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "TransportPlatform.h"
#include "TransportTypes/HidDevice.h"
#include "TransportTypes/HidDeviceInfo.h"

namespace PyxTransport
{
namespace
{
constexpr std::string_view kInterfaceSuffix = "#USBMI(";
constexpr long kWholePort = -1;

// How `candidate` matches `busPath`: kWholePort for the port itself, the interface number for an interface
// of a composite device on that port, nothing otherwise ("1-2" never matches "1-20" or "1-2.1").
std::optional<long> MatchedInterface(const std::string& candidate, const std::string& busPath)
{
    if (candidate == busPath)
    {
        return kWholePort;
    }
    const std::string prefix = busPath + std::string(kInterfaceSuffix);
    if (candidate.size() <= prefix.size() || candidate.compare(0, prefix.size(), prefix) != 0)
    {
        return std::nullopt;
    }
    const char* digits = candidate.c_str() + prefix.size();
    char* end = nullptr;
    const long number = std::strtol(digits, &end, 10);
    // A suffix that is not a number still names this port; it comes after every numbered interface.
    return end != digits && *end == ')' ? number : std::numeric_limits<long>::max();
}
} // namespace

std::vector<HidDeviceInfo> EnumerateHidDevices()
{
    auto devices = Platform::ListHidDevices();
    return devices ? std::move(*devices) : std::vector<HidDeviceInfo>{};
}

std::string HidDevice::ResolveBusPath(const std::string& busPath)
{
    const auto devices = Platform::ListHidDevices();
    if (!devices)
    {
        throw std::runtime_error("Failed to enumerate HID devices");
    }
    // The system lists interface 10 before interface 2; a reader's first HID interface is the lowest.
    const HidDeviceInfo* best = nullptr;
    long bestInterface = 0;
    for (const auto& device : *devices)
    {
        if (device.UsbBusPath.empty())
        {
            continue;
        }
        const auto interface = MatchedInterface(device.UsbBusPath, busPath);
        if (interface && (best == nullptr || *interface < bestInterface))
        {
            best = &device;
            bestInterface = *interface;
        }
    }
    return best == nullptr ? std::string() : best->DevicePath;
}
} // namespace PyxTransport
