#include "TransportTypes/DummyTransport.h"

#include <cstdio>
#include <string>

#include <fmt/format.h>

#include "ByteText.h"
#include "SerialPortSettingsText.h"
#include "TransportLog.h"

namespace PyxTransport
{
namespace
{
// The definition as one line, or the empty text when it cannot be written.
std::string DescribeDefinition(const PyxCommon::ReaderDefinition& definition)
{
    char settings[256];
    if (FormatSerialPortSettings(definition.SerialPortSettings, settings, sizeof settings) <= 0)
    {
        return {};
    }
    // Caller-filled texts are read only up to the end of their fields.
    const std::string usbPath = PyxCommon::FieldText(definition.DeviceId.UsbPath);
    const std::string serialNumber = PyxCommon::FieldText(definition.DeviceId.SerialNumber);
    char text[1024];
    const int written =
        std::snprintf(text, sizeof text,
                      "DeviceId: {VendorId: 0x%04X, ProductId: 0x%04X, UsbPath: %s, "
                      "SerialNumber: %s}, ProtocolType: %s, SerialPortSettings: {%s}",
                      static_cast<unsigned>(definition.DeviceId.VendorId),
                      static_cast<unsigned>(definition.DeviceId.ProductId), usbPath.c_str(),
                      serialNumber.c_str(), ProtocolTypeToString(definition.ProtocolType), settings);
    if (written <= 0)
    {
        return {};
    }
    return text;
}
} // namespace

DummyTransport::DummyTransport(const PyxCommon::ReaderDefinition& definition) : Transport(definition) {}

DummyTransport::~DummyTransport()
{
    Log().Debug(kTag, "DummyTransport destructor called");
}

void DummyTransport::init(std::uint32_t retryCount)
{
    auto& logger = Log();
    logger.Debug(kTag, fmt::format("DummyTransport init called with retry count {}", retryCount));
    logger.Trace(kTag, "Configuration provided by user: ");
    const std::string text = DescribeDefinition(definition);
    logger.Trace(kTag, text.empty() ? std::string("Failed to log ReaderDefinition") : text);
}

std::vector<std::uint8_t> DummyTransport::receive(const TransportPacket& packet)
{
    Log().Debug(kTag,
                fmt::format("DummyTransport receive called expecting payload of size {}. Returning empty "
                            "vector.",
                            packet.Length));
    return {};
}

void DummyTransport::transmit(const TransportPacket& packet)
{
    auto& logger = Log();
    logger.Debug(kTag, fmt::format("Transmit called with payload of size {}", packet.Data.size()));
    if (!logger.ShouldLog(kTag, kTraceLevel))
    {
        return;
    }
    logger.Trace(kTag, fmt::format("Transmission would include {} bytes: [{}]", packet.Length,
                                   Detail::HexBytes(packet.Data, ", ")));
    logger.Trace(kTag, fmt::format("ASCII => [{}]", Detail::PrintableAscii(packet.Data)));
}
} // namespace PyxTransport
