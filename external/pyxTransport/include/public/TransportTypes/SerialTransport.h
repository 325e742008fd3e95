#pragma once

#include <memory>

#include "Transport.h"
#include "TransportTypes/SerialPortWrapper.h"

namespace PyxTransport
{
// Carries the SerialBinary protocol over a serial port. A reply is whatever one read of the port returns,
// whatever length the command expects.
class SerialTransport : public Transport
{
public:
    // Takes ownership of `port`, which must not be null.
    SerialTransport(const PyxCommon::ReaderDefinition& definition, std::unique_ptr<SerialPortWrapper> port);
    ~SerialTransport() override;

    // Opens the port once; the retry count does not apply to serial ports. A second call reopens it.
    void init(std::uint32_t retryCount) override;
    std::vector<std::uint8_t> receive(const TransportPacket& packet) override;
    void transmit(const TransportPacket& packet) override;
    void setReceiveDelay(std::uint32_t milliseconds) override;

    // Refuses the settings the port cannot be opened with, first failure first.
    static void validatePortSettings(const PyxCommon::SerialPortSettings& settings);

private:
    std::unique_ptr<SerialPortWrapper> port;
    PyxCommon::SerialPortSettings settings;
    bool connected = false;
};
} // namespace PyxTransport
