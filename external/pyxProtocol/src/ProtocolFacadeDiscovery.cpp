#include <algorithm>
#include <array>
#include <cstdint>

#include "Logging/Logger.h"
#include "ProtocolFacade.h"
#include "ProtocolFacadeResult.h"
#include "ProtocolFacadeText.h"
#include "TransportTypes/HidDeviceInfo.h"

namespace PyxProtocol
{
namespace
{
PyxCommon::Logger& logger = PyxCommon::Logger::GetInstance(false, true);

struct SupportedReader
{
    std::uint16_t VendorId;
    std::uint16_t ProductId;
};

// The reader models that discovery reports. The vendor id is one that is never assigned to a maker, so no
// other device is ever taken for a reader.
constexpr std::uint16_t kReaderVendorId = 0xFFFF;
constexpr std::array<SupportedReader, 17> kSupportedReaders{{
    {kReaderVendorId, 0xA001},
    {kReaderVendorId, 0xA002},
    {kReaderVendorId, 0xA003},
    {kReaderVendorId, 0xA004},
    {kReaderVendorId, 0xA005},
    {kReaderVendorId, 0xA006},
    {kReaderVendorId, 0xA007},
    {kReaderVendorId, 0xA008},
    {kReaderVendorId, 0xA009},
    {kReaderVendorId, 0xA00A},
    {kReaderVendorId, 0xA00B},
    {kReaderVendorId, 0xA00C},
    {kReaderVendorId, 0xA00D},
    {kReaderVendorId, 0xA00E},
    {kReaderVendorId, 0xA00F},
    {kReaderVendorId, 0xA010},
    {kReaderVendorId, 0xA011},
}};

bool IsSupported(const PyxTransport::HidDeviceInfo& device)
{
    return std::any_of(kSupportedReaders.begin(), kSupportedReaders.end(),
                       [&](const SupportedReader& reader) {
                           return reader.VendorId == device.VendorId && reader.ProductId == device.ProductId;
                       });
}
} // namespace

ProtocolCommandResult ProtocolFacade::DiscoverUsbReaders(std::vector<PyxCommon::ReaderDefinition>& readers)
{
    logger.Trace("PROTOCOL", "Facade: DiscoverUsbReaders");
    return RunCheckedFacadeFunction(
        [&readers]
        {
            // Listed before the output is touched, so a failed walk leaves the caller's readers as they were.
            const std::vector<PyxTransport::HidDeviceInfo> devices = PyxTransport::EnumerateHidDevices();
            readers.clear();
            for (const PyxTransport::HidDeviceInfo& device : devices)
            {
                if (!IsSupported(device))
                {
                    continue;
                }
                // Every interface is a reader of its own: a composite device yields one record per interface.
                PyxCommon::ReaderDefinition reader{};
                reader.DeviceId.VendorId = device.VendorId;
                reader.DeviceId.ProductId = device.ProductId;
                CopyText(reader.DeviceId.UsbPath, device.UsbBusPath);
                CopyText(reader.DeviceId.SerialNumber, device.SerialNumber);
                reader.ProtocolType = ::ProtocolType::FeatureReport;
                readers.push_back(reader);
            }
        });
}
} // namespace PyxProtocol
