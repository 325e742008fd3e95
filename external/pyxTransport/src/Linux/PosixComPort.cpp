// The serial port on Linux: a tty opened exclusively, set raw through termios, with poll() standing in for
// the read and write time-outs a COM port keeps in the driver.
#include "Linux/PosixComPort.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <regex>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <fmt/format.h>

#include "Linux/CustomBaudRate.h"
#include "TransportException.h"
#include "TransportPlatform.h"

namespace PyxTransport
{
namespace
{
using Clock = std::chrono::steady_clock;

std::string SystemMessage(int error)
{
    char buffer[256];
    // The GNU variant: returns the text, which may or may not live in `buffer`.
    return ::strerror_r(error, buffer, sizeof buffer);
}

struct StandardBaudRate
{
    std::uint32_t rate;
    speed_t code;
};

constexpr StandardBaudRate kStandardBaudRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

const StandardBaudRate* FindStandardBaudRate(std::uint32_t rate)
{
    const auto found = std::find_if(std::begin(kStandardBaudRates), std::end(kStandardBaudRates),
                                    [rate](const StandardBaudRate& entry) { return entry.rate == rate; });
    return found == std::end(kStandardBaudRates) ? nullptr : found;
}

// Applies data bits, parity and stop bits to `tty`; returns 0 or EINVAL for a value the port cannot take.
int ApplyFrameSettings(termios& tty, const PyxCommon::SerialPortSettings& settings)
{
    tty.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    // Only the low byte of the byte size reaches the port, as with a COM port's settings block.
    switch (static_cast<std::uint8_t>(settings.ByteSize & 0xFF))
    {
    case 5:
        tty.c_cflag |= CS5;
        break;
    case 6:
        tty.c_cflag |= CS6;
        break;
    case 7:
        tty.c_cflag |= CS7;
        break;
    case 8:
        tty.c_cflag |= CS8;
        break;
    default:
        return EINVAL;
    }
    switch (settings.Parity)
    {
    case PyxCommon::SerialPortParity::None:
        break;
    case PyxCommon::SerialPortParity::Odd:
        tty.c_cflag |= PARENB | PARODD;
        break;
    case PyxCommon::SerialPortParity::Even:
        tty.c_cflag |= PARENB;
        break;
    case PyxCommon::SerialPortParity::Mark:
        tty.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case PyxCommon::SerialPortParity::Space:
        tty.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        return EINVAL;
    }
    if (settings.StopBits == PyxCommon::SerialPortStopBits::Two)
    {
        tty.c_cflag |= CSTOPB;
    }
    return 0;
}

// Milliseconds `bytes` bytes take on a line of `baudRate` with the frame in `tty` (start bit, data bits,
// parity bit, stop bits), rounded up.
std::uint32_t ChunkLineTimeMs(const termios& tty, std::uint32_t baudRate, std::uint32_t bytes)
{
    std::uint64_t bitsPerByte = 1 + 8 + 1;
    switch (tty.c_cflag & CSIZE)
    {
    case CS5:
        bitsPerByte = 1 + 5 + 1;
        break;
    case CS6:
        bitsPerByte = 1 + 6 + 1;
        break;
    case CS7:
        bitsPerByte = 1 + 7 + 1;
        break;
    default:
        break;
    }
    bitsPerByte += (tty.c_cflag & PARENB) != 0 ? 1 : 0;
    bitsPerByte += (tty.c_cflag & CSTOPB) != 0 ? 1 : 0;
    const std::uint64_t bits = bitsPerByte * bytes * 1000;
    return static_cast<std::uint32_t>((bits + baudRate - 1) / baudRate);
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 60'000));
}
} // namespace

PosixComPort::Handle::Handle(Handle&& other) noexcept : fd(other.fd), exclusive(other.exclusive)
{
    other.fd = -1;
    other.exclusive = false;
}

PosixComPort::Handle& PosixComPort::Handle::operator=(Handle&& other) noexcept
{
    if (this != &other)
    {
        Reset();
        fd = other.fd;
        exclusive = other.exclusive;
        other.fd = -1;
        other.exclusive = false;
    }
    return *this;
}

PosixComPort::Handle::~Handle()
{
    Reset();
}

bool PosixComPort::Handle::Lock()
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0)
    {
        return false;
    }
    exclusive = true;
    return true;
}

void PosixComPort::Handle::Reset()
{
    if (fd < 0)
    {
        return;
    }
    // Only a port this handle locked is touched: a failed open must not unlock or flush another owner's
    // port. Both calls are best effort; the descriptor is closed whatever they answer.
    if (exclusive)
    {
        ::tcflush(fd, TCOFLUSH);
        ::ioctl(fd, TIOCNXCL);
    }
    ::close(fd);
    fd = -1;
    exclusive = false;
}

PosixComPort::PosixComPort() = default;

PosixComPort::PosixComPort(WriteTimeouts writeTimeouts) : writeTimeouts(writeTimeouts) {}

PosixComPort::~PosixComPort() = default;

std::string PosixComPort::PortNameToDevicePath(const std::string& portName)
{
    if (!portName.empty() && portName.front() == '/')
    {
        return portName;
    }
    // Linux device names ("ttyUSB1", "ttyACM0") are taken as they are, never as COM numbers. A bare "tty"
    // would be the caller's controlling terminal and a name with a slash could leave /dev: neither is a port.
    if (portName.starts_with("tty") && portName.size() > 3 && portName.find('/') == std::string::npos)
    {
        return "/dev/" + portName;
    }
    static const std::regex digits("([0-9]+)");
    std::smatch match;
    int number = 0;
    if (std::regex_search(portName, match, digits))
    {
        try
        {
            number = std::stoi(match[1].str());
        }
        catch (const std::out_of_range&)
        {
            // The standard library's own text differs between implementations; callers see this one.
            throw std::out_of_range("stoi argument out of range");
        }
    }
    // COM ports count from 1 and ttyS devices from 0, so there is no COM0.
    if (number < 1)
    {
        PYX_THROW(
            TransportException,
            fmt::format(R"(Received COM port name '{}' must be of the form 'COM[N]', contain the COM port )"
                        R"(number within the string, or must be of the filename form: '\\.\COM[N]')",
                        portName));
    }
    return fmt::format("/dev/ttyS{}", number - 1);
}

void PosixComPort::Configure(const PyxCommon::SerialPortSettings& settings, std::uint32_t receiveDelayMs)
{
    readIntervalTimeoutMs = receiveDelayMs;
    const std::string device = PortNameToDevicePath(PyxCommon::FieldText(settings.PortName));

    // Only one handle is held: reconfiguring releases the old one, whose exclusive lock would refuse the new.
    handle.Reset();
    Handle port(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (port.Get() < 0 || !port.Lock())
    {
        const int error = errno;
        PYX_THROW(
            TransportException,
            fmt::format("Invalid serial port handle received for port name '{}' ('{}'). System message: '{}'",
                        device, device, SystemMessage(error)));
    }

    termios tty{};
    if (::tcgetattr(port.Get(), &tty) != 0)
    {
        const int error = errno;
        PYX_THROW(TransportException,
                  fmt::format("Unable to get serial port settings from port interface. '{}'",
                              SystemMessage(error)));
    }

    if (settings.StopBits != PyxCommon::SerialPortStopBits::One &&
        settings.StopBits != PyxCommon::SerialPortStopBits::Two)
    {
        // One and a half stop bits exist only for five data bits on a few UARTs; termios cannot ask for them.
        PYX_THROW(TransportException,
                  fmt::format("Unsupported stop bits value '{}'.", static_cast<int>(settings.StopBits)));
    }

    // Raw bytes both ways. Software flow control would swallow 0x11 and 0x13 inside binary frames; hardware
    // flow control stays as the driver has it.
    ::cfmakeraw(&tty);
    tty.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tty.c_cflag |= CLOCAL | CREAD;
    tty.c_cc[VMIN] = 0;
    tty.c_cc[VTIME] = 0;

    const auto baudRate = static_cast<std::uint32_t>(settings.BaudRate);
    const StandardBaudRate* standard = FindStandardBaudRate(baudRate);
    int error = ApplyFrameSettings(tty, settings);
    if (error == 0 && baudRate == 0)
    {
        // B0 would hang the line up instead of setting a speed.
        error = EINVAL;
    }
    if (error == 0 && standard != nullptr &&
        (::cfsetispeed(&tty, standard->code) != 0 || ::cfsetospeed(&tty, standard->code) != 0))
    {
        error = errno;
    }
    if (error == 0 && ::tcsetattr(port.Get(), TCSANOW, &tty) != 0)
    {
        error = errno;
    }
    if (error == 0 && standard == nullptr)
    {
        error = Linux::SetCustomBaudRate(port.Get(), baudRate);
    }
    if (error != 0)
    {
        PYX_THROW(TransportException,
                  fmt::format(
                      "Unable to configure serial port settings using port interface. Error: '{}'  If using "
                      "a USB serial device, make sure the STOP bits and PARITY are valid.",
                      SystemMessage(error)));
    }

    ApplyTimeouts(port.Get());
    readChunkLineTimeMs = ChunkLineTimeMs(tty, baudRate, readChunk);

    if (::tcflush(port.Get(), TCIOFLUSH) != 0)
    {
        const int flushError = errno;
        PYX_THROW(TransportException, fmt::format("Unable to purge COM port buffers. System message: '{}'",
                                                  SystemMessage(flushError)));
    }
    handle = std::move(port);
}

void PosixComPort::ApplyTimeouts(int fd)
{
    termios tty{};
    if (::tcgetattr(fd, &tty) != 0)
    {
        const int error = errno;
        PYX_THROW(TransportException,
                  fmt::format("Unable to get COM port timeout configuration. System message: '{}'",
                              SystemMessage(error)));
    }
    tty.c_cc[VMIN] = 0;
    tty.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tty) != 0)
    {
        const int error = errno;
        PYX_THROW(TransportException,
                  fmt::format("Unable to set COM port timeout configuration. System message: '{}'",
                              SystemMessage(error)));
    }
}

void PosixComPort::SetReceiveDelay(std::uint32_t milliseconds)
{
    readIntervalTimeoutMs = milliseconds;
    ApplyTimeouts(handle.Get());
}

std::vector<std::uint8_t> PosixComPort::Receive()
{
    // Thrown with the method's own name: inside a lambda __func__ would read "operator()".
    const auto fail = [](int error)
    {
        throw TransportException(
            fmt::format("Failed to receive bytes on serial port. System message: '{}'", SystemMessage(error)),
            PYX_SOURCE_FILE, __LINE__, "Receive");
    };
    const int fd = handle.Get();
    if (fd < 0)
    {
        fail(EBADF);
    }

    std::vector<std::uint8_t> bytes(readChunk);
    std::size_t count = 0;
    const Clock::time_point start = Clock::now();
    const Clock::time_point totalDeadline = start + std::chrono::milliseconds(readTotalTimeoutConstantMs);
    // A reply still arriving may run past the total time-out, up to the time a whole chunk takes on the line.
    const Clock::time_point receivingCap = totalDeadline + std::chrono::milliseconds(readChunkLineTimeMs);
    Clock::time_point deadline = totalDeadline;
    while (count < bytes.size())
    {
        const int waitMs = RemainingMs(deadline);
        if (waitMs == 0)
        {
            break;
        }
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, waitMs);
        if (ready < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            if (count > 0)
            {
                break;
            }
            fail(errno);
        }
        if (ready == 0)
        {
            continue;
        }
        if ((entry.revents & POLLNVAL) != 0)
        {
            fail(EBADF);
        }
        const ssize_t got = ::read(fd, bytes.data() + count, bytes.size() - count);
        if (got > 0)
        {
            count += static_cast<std::size_t>(got);
            // The interval timer starts with the first byte and then decides alone, up to the cap. A zero
            // interval means no interval time-out, as with a COM port: the total one then stands.
            if (readIntervalTimeoutMs != 0)
            {
                deadline =
                    std::min(receivingCap, Clock::now() + std::chrono::milliseconds(readIntervalTimeoutMs));
            }
            continue;
        }
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
        {
            continue;
        }
        // A readable tty that yields nothing has been hung up. Bytes already read are handed over; the
        // next read reports the failure.
        const int error = got == 0 ? EIO : errno;
        if (count > 0)
        {
            break;
        }
        fail(error);
    }
    bytes.resize(count);
    return bytes;
}

void PosixComPort::Send(std::vector<std::uint8_t> bytes)
{
    const auto fail = [](int error)
    {
        throw TransportException(
            fmt::format("Failed to transmit buffer. Message: '{}'", SystemMessage(error)), PYX_SOURCE_FILE,
            __LINE__, "Send");
    };
    const int fd = handle.Get();
    if (fd < 0)
    {
        fail(EBADF);
    }

    // Whatever is still in the input belongs to an earlier exchange; left there, it would be read as the
    // answer to this request. A failure here shows in the write below.
    ::tcflush(fd, TCIFLUSH);

    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(std::uint64_t{writeTimeouts.ConstantMs} +
                                                 std::uint64_t{writeTimeouts.PerByteMs} * bytes.size());
    std::size_t written = 0;
    while (written < bytes.size())
    {
        const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put > 0)
        {
            written += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EINTR && errno != EAGAIN)
        {
            fail(errno);
        }
        // A write cut short by its deadline is a failure: the reader would see half a frame.
        const int waitMs = RemainingMs(deadline);
        if (waitMs == 0)
        {
            fail(ETIMEDOUT);
        }
        pollfd entry{fd, POLLOUT, 0};
        if (::poll(&entry, 1, waitMs) < 0 && errno != EINTR)
        {
            fail(errno);
        }
        if ((entry.revents & POLLNVAL) != 0)
        {
            fail(EBADF);
        }
    }

    // Let the driver's queue drain, as far as the write deadline allows; a tty that cannot report its queue
    // is taken as drained.
    for (int queued = 0; ::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0 && RemainingMs(deadline) > 0;)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void PosixComPort::Close()
{
    handle.Reset();
}

std::unique_ptr<SerialPortWrapper> Platform::NewSerialPort()
{
    return std::make_unique<PosixComPort>();
}
} // namespace PyxTransport
