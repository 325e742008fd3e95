#include "TransportTypes/SerialTransport.h"

#include <fmt/format.h>

#include "ByteText.h"
#include "TransportException.h"
#include "TransportLog.h"

namespace PyxTransport
{
SerialTransport::SerialTransport(const PyxCommon::ReaderDefinition& definition,
                                 std::unique_ptr<SerialPortWrapper> port)
    : Transport(definition), port(std::move(port)), settings(definition.SerialPortSettings)
{
    if (!this->port)
    {
        PYX_THROW(TransportException, "SerialTransport requires a serial port");
    }
}

SerialTransport::~SerialTransport()
{
    try
    {
        Log().Trace(kTag, "Deconstructing SerialTransport");
        port->Close();
    }
    catch (...)
    {
        // Nothing may leave a destructor; the port's own destructor still releases the device.
    }
}

void SerialTransport::validatePortSettings(const PyxCommon::SerialPortSettings& settings)
{
    if (settings.BaudRate == PyxCommon::SerialPortBaudRate::Invalid)
    {
        PYX_THROW(TransportException, "Invalid baud rate specified for SerialTransport");
    }
    if (settings.DataBits == PyxCommon::SerialPortDataBits::Invalid)
    {
        PYX_THROW(TransportException, "Invalid data bits specified for SerialTransport");
    }
    if (settings.PortName[0] == '\0')
    {
        PYX_THROW(TransportException, "Port name cannot be empty for SerialTransport");
    }
    if (settings.ByteSize < 1)
    {
        PYX_THROW(TransportException, "Byte size must be greater than 0 for SerialTransport");
    }
}

void SerialTransport::init(std::uint32_t retryCount)
{
    auto& logger = Log();
    logger.Trace(kTag, fmt::format("Retry count {} specified for SerialTransport init, but it is ignored for "
                                   "serial ports.",
                                   retryCount));
    if (connected)
    {
        // The port is opened exclusively: the old handle has to go before the same port can open again.
        port->Close();
    }
    connected = false;
    port->Configure(settings, ReceiveDelayMs);
    connected = true;
    logger.Trace(kTag, fmt::format("[SerialTransport] Serial port initialized (Port={}, Baud={}, "
                                   "ReceiveDelayMs={}).",
                                   PyxCommon::FieldText(settings.PortName),
                                   static_cast<std::uint32_t>(settings.BaudRate), ReceiveDelayMs));
}

std::vector<std::uint8_t> SerialTransport::receive(const TransportPacket& /*packet*/)
{
    if (!connected)
    {
        PYX_THROW(TransportException, "[SerialTransport] Serial port not connected. Run init() first.");
    }
    std::vector<std::uint8_t> bytes = port->Receive();
    auto& logger = Log();
    if (logger.ShouldLog(kTag, kTraceLevel))
    {
        logger.Trace(kTag, fmt::format("[SerialTransport] Received {} bytes: {}", bytes.size(),
                                       Detail::HexBytes(bytes, ",")));
    }
    return bytes;
}

void SerialTransport::transmit(const TransportPacket& packet)
{
    if (!connected)
    {
        PYX_THROW(TransportException, "Serial port not connected. Run init() first.");
    }
    port->Send(packet.Data);
    auto& logger = Log();
    if (logger.ShouldLog(kTag, kTraceLevel))
    {
        logger.Trace(kTag, fmt::format("[SerialTransport] Transmitted {} bytes: {}", packet.Data.size(),
                                       Detail::HexBytes(packet.Data, ",")));
    }
}

void SerialTransport::setReceiveDelay(std::uint32_t milliseconds)
{
    ReceiveDelayMs = milliseconds;
    if (connected)
    {
        port->SetReceiveDelay(milliseconds);
        Log().Trace(kTag, fmt::format("[SerialTransport] Receive delay updated to {} ms on live connection.",
                                      milliseconds));
    }
}
} // namespace PyxTransport
