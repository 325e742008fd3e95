#pragma once

#include <cstdint>
#include <vector>

#include "Structures/ReaderDefinition.h"

namespace PyxTransport
{
// One serial port as the serial transport uses it; the platform's port class implements it.
class SerialPortWrapper
{
public:
    SerialPortWrapper() = default;
    SerialPortWrapper(const SerialPortWrapper&) = delete;
    SerialPortWrapper& operator=(const SerialPortWrapper&) = delete;

    // Opens the port named in `settings`, applies the settings and the read time-outs, empties its buffers.
    virtual void Configure(const PyxCommon::SerialPortSettings& settings, std::uint32_t receiveDelayMs) = 0;
    // The longest pause between two bytes of one read.
    virtual void SetReceiveDelay(std::uint32_t milliseconds) = 0;
    virtual void Send(std::vector<std::uint8_t> bytes) = 0;
    virtual void Close() = 0;
    // One read: the bytes that arrived before the line went quiet, possibly none.
    virtual std::vector<std::uint8_t> Receive() = 0;
    // The owner calls Close first.
    virtual ~SerialPortWrapper() = default;
};
} // namespace PyxTransport
