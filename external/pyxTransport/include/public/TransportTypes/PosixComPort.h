#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TransportTypes/SerialPortWrapper.h"

namespace PyxTransport
{
// A serial port of a POSIX system (a tty device), opened exclusively in raw mode. Reads and writes are
// bounded by time-outs, never by the driver's blocking.
class PosixComPort final : public SerialPortWrapper
{
public:
    // How long one Send may take: constant + per byte * bytes, in milliseconds.
    struct WriteTimeouts
    {
        std::uint32_t ConstantMs = 60;
        std::uint32_t PerByteMs = 8;
    };

    PosixComPort();
    explicit PosixComPort(WriteTimeouts writeTimeouts);
    // Closes the port if its owner has not.
    ~PosixComPort() override;

    void Configure(const PyxCommon::SerialPortSettings& settings, std::uint32_t receiveDelayMs) override;
    void SetReceiveDelay(std::uint32_t milliseconds) override;
    // Fails when the whole buffer is not written within the write time-out.
    void Send(std::vector<std::uint8_t> bytes) override;
    void Close() override;
    // Up to 1024 bytes; returns once the line is quiet for the receive delay after a byte, or 100 ms after
    // the read began.
    std::vector<std::uint8_t> Receive() override;

    bool IsOpen() const { return handle.Get() >= 0; }

    // The device to open for a port name: an absolute path as given; otherwise the first run of digits N
    // in the name (COM7, com7, 7, the device form of COM7) names /dev/ttyS(N-1).
    static std::string PortNameToDevicePath(const std::string& portName);

private:
    // Owns one file descriptor; -1 when empty.
    class Handle
    {
    public:
        Handle() = default;
        explicit Handle(int fd) : fd(fd) {}
        Handle(Handle&& other) noexcept : fd(other.Release()) {}
        Handle& operator=(Handle&& other) noexcept;
        ~Handle();
        int Get() const { return fd; }
        int Release();
        void Reset();

    private:
        int fd = -1;
    };

    // Reads are timed by poll(), so the tty itself must never wait for bytes.
    static void ApplyTimeouts(int fd);

    Handle handle;
    std::uint32_t readTotalTimeoutConstantMs = 100;
    std::uint32_t readIntervalTimeoutMs = 25;
    std::uint32_t readChunk = 1024;
    WriteTimeouts writeTimeouts;
};
} // namespace PyxTransport
