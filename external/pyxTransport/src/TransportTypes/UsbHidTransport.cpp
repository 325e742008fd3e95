#include "TransportTypes/UsbHidTransport.h"

#include <algorithm>
#include <stdexcept>

#include <fmt/format.h>

#include "ByteText.h"
#include "TransportException.h"
#include "TransportLog.h"
#include "TransportPlatform.h"

namespace PyxTransport
{
UsbHidTransport::UsbHidTransport(const PyxCommon::ReaderDefinition& definition,
                                 std::shared_ptr<PyxCommon::TimeDelay> delay)
    : Transport(definition), timeDelay(std::move(delay))
{
    if (definition.ProtocolType != ProtocolType::FeatureReport &&
        definition.ProtocolType != ProtocolType::Mfp24)
    {
        throw TransportException("Incompatible protocol type for UsbHidTransport", PYX_SOURCE_FILE, __LINE__,
                                 "UsbHidTransport");
    }
    if (!timeDelay)
    {
        timeDelay = std::make_shared<PyxCommon::TimeDelay>();
    }
    VendorId = definition.DeviceId.VendorId;
    ProductId = definition.DeviceId.ProductId;
    // Caller-filled fields: read within their bounds even when nothing terminates them.
    SerialNumber = Utf8ToWide(PyxCommon::FieldText(definition.DeviceId.SerialNumber).c_str());
    UsbPath = Utf8ToWide(PyxCommon::FieldText(definition.DeviceId.UsbPath).c_str());
    connectType = UsbPath ? ConnectType::UsbBusPath : ConnectType::VidPidSerialNumber;
}

UsbHidTransport::~UsbHidTransport()
{
    Log().Trace(kTag, "Deconstructing UsbHidTransport");
    CloseDevice();
}

void UsbHidTransport::CloseDevice()
{
    device.reset();
}

void UsbHidTransport::init(std::uint32_t retryCount)
{
    if (connected)
    {
        Log().Trace(kTag, "Transport already connected. Closing and reopening.");
        CloseDevice();
        connected = false;
    }

    device = std::make_unique<HidDevice>();
    HidDevice::InitLibrary();

    std::uint32_t attempts = 0;
    while (true)
    {
        if (connected)
        {
            Log().Info(kTag, fmt::format("Connected to reader after {} retries.", attempts - 1));
            return;
        }
        if (attempts >= retryCount)
        {
            PYX_THROW(TransportException,
                      fmt::format("Unable to connect to the reader after {} attempts", attempts));
        }
        ++attempts;
        try
        {
            AttemptOpen();
            connected = true;
        }
        catch (const std::runtime_error& error)
        {
            if (attempts == 1)
            {
                Log().Debug(
                    kTag, fmt::format(
                              "Retrying to connect to the reader. Is it an MFP24? Will retry up to {} times.",
                              retryCount));
            }
            Log().Warn(kTag, fmt::format("(Attempt {}) Library error was: {}", attempts, error.what()));
            timeDelay->DelayMilliseconds(kRetryDelayMs);
        }
    }
}

void UsbHidTransport::AttemptOpen()
{
    if (!device)
    {
        // Called on its own, before any init.
        device = std::make_unique<HidDevice>();
    }
    const std::string serialText = WideToUtf8(SerialNumber.get());
    const std::string pathText = WideToUtf8(UsbPath.get());
    switch (connectType)
    {
    case ConnectType::VidPidSerialNumber:
        Log().Trace(kTag, fmt::format("Attempting to open device with VID: {:04x} PID: {:04x} Serial: {}",
                                      VendorId, ProductId, serialText));
        device->Open(VendorId, ProductId, SerialNumber.get());
        break;
    case ConnectType::UsbBusPath:
        Log().Trace(kTag, fmt::format("Attempting to open device at USB bus path: {}", pathText));
        device->OpenBusPath(pathText);
        break;
    default:
        PYX_THROW(TransportException,
                  "No valid connect type was determined. A device path, or a vid/pid/serialnumber "
                  "combination is required.");
    }
}

std::vector<std::uint8_t> UsbHidTransport::receive(const TransportPacket& packet)
{
    if (!connected)
    {
        PYX_THROW(TransportException, "Cannot receive data. Transport is not connected. Call init() first.");
    }
    Log().Trace(kTag, fmt::format("Receive will attempt to read {} bytes", packet.Length));

    const std::size_t length = packet.Length;
    std::vector<std::uint8_t> buffer(length + 1, 0);
    buffer[0] = reportId;
    const int count = device->GetFeatureReport(buffer.data(), buffer.size());
    // Whatever the device left behind past its own count is not part of the answer.
    if (count >= 0 && static_cast<std::size_t>(count) < buffer.size())
    {
        std::fill(buffer.begin() + std::max(count, 1), buffer.end(), 0);
    }

    std::vector<std::uint8_t> result(buffer.begin() + 1, buffer.end());
    Log().Trace(kTag, fmt::format("Received {} bytes: [{}]", result.size(), Detail::HexBytes(result, ",")));
    return result;
}

void UsbHidTransport::transmit(const TransportPacket& packet)
{
    if (!connected)
    {
        PYX_THROW(TransportException, "Cannot transmit data. Transport is not connected. Call init() first.");
    }
    std::vector<std::uint8_t> report;
    report.reserve(packet.Data.size() + 1);
    report.push_back(reportId);
    report.insert(report.end(), packet.Data.begin(), packet.Data.end());

    if (packet.ReportType == HidReportType::Output)
    {
        device->SendOutputReport(report.data(), report.size());
    }
    else
    {
        device->SendFeatureReport(report.data(), report.size());
    }
    Log().Trace(kTag,
                fmt::format("Transmitted {} bytes: [{}]", report.size(), Detail::HexBytes(report, ", ")));
    Log().Trace(kTag, fmt::format("ASCII => [{}]", Detail::PrintableAscii(report)));
}

std::unique_ptr<wchar_t[]> UsbHidTransport::Utf8ToWide(const char* text)
{
    if (text == nullptr || *text == '\0')
    {
        return nullptr;
    }
    const std::wstring wide = Platform::Utf8ToWide(text);
    auto buffer = std::make_unique<wchar_t[]>(wide.size() + 1); // value-initialised: zero-filled
    std::copy(wide.begin(), wide.end(), buffer.get());
    return buffer;
}

std::string UsbHidTransport::WideToUtf8(const wchar_t* text)
{
    if (text == nullptr || *text == L'\0')
    {
        return {};
    }
    return Platform::WideToUtf8(text);
}
} // namespace PyxTransport
