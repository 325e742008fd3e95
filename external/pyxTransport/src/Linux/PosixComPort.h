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
    // Empties the input first, so that a late tail of an earlier reply cannot answer this request. Fails when
    // the whole buffer is not written within the write time-out.
    void Send(std::vector<std::uint8_t> bytes) override;
    void Close() override;
    // Up to 1024 bytes. A silent line gives nothing after 100 ms; once bytes come, the read goes on until the
    // line is quiet for the receive delay, so a long reply on a slow line arrives whole, but never longer
    // than 100 ms plus the line time of 1024 bytes.
    std::vector<std::uint8_t> Receive() override;

    bool IsOpen() const { return handle.Get() >= 0; }

    // The device to open for a port name: an absolute path as given; a name starting with "tty" in /dev;
    // otherwise the first run of digits N in the name (COM7, com7, 7, the device form of COM7) names
    // /dev/ttyS(N-1).
    static std::string PortNameToDevicePath(const std::string& portName);

private:
    // Owns one file descriptor; -1 when empty. Once the port is held exclusively, closing it clears the
    // exclusive mode (on a pseudo-terminal it would outlive the descriptor and lock every later open out)
    // and discards unsent output (the driver's closing wait could otherwise hold the close for many seconds).
    class Handle
    {
    public:
        Handle() = default;
        explicit Handle(int fd) : fd(fd) {}
        Handle(Handle&& other) noexcept;
        Handle& operator=(Handle&& other) noexcept;
        ~Handle();
        int Get() const { return fd; }
        // Takes the port exclusively; false (errno set) when that fails.
        bool Lock();
        void Reset();

    private:
        int fd = -1;
        bool exclusive = false;
    };

    // Reads are timed by poll(), so the tty itself must never wait for bytes.
    static void ApplyTimeouts(int fd);

    Handle handle;
    std::uint32_t readTotalTimeoutConstantMs = 100;
    std::uint32_t readIntervalTimeoutMs = 25;
    std::uint32_t readChunk = 1024;
    // The time 1024 bytes take on the line at the configured rate and frame.
    std::uint32_t readChunkLineTimeMs = 0;
    WriteTimeouts writeTimeouts;
};
} // namespace PyxTransport
