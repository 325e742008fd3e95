#include "PtyPeer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace PyxTest
{
namespace Detail
{
std::uint32_t PtyBaudRate(int fd);
}

namespace
{
using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const char* what)
{
    throw std::runtime_error(std::string("PtyPeer: ") + what + ": " + std::strerror(errno));
}

void CloseFd(int& fd)
{
    if (fd >= 0)
    {
        ::close(fd);
        fd = -1;
    }
}
} // namespace

PtyPeer::PtyPeer(Responder responder) : responder_(std::move(responder))
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
    {
        Fail("posix_openpt");
    }
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0)
    {
        CloseFd(master_);
        Fail("preparing the slave");
    }
    slavePath_ = name;
    // Holding the slave open keeps the master from seeing a hang-up whenever the port under test closes.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    int wake[2];
    if (slave_ < 0 || ::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
    {
        CloseFd(slave_);
        CloseFd(master_);
        Fail("opening the slave");
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    thread_ = std::thread([this] { Serve(); });
}

PtyPeer::~PtyPeer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    Wake();
    thread_.join();
    CloseFd(master_);
    CloseFd(slave_);
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
}

termios PtyPeer::SlaveSettings() const
{
    termios settings{};
    ::tcgetattr(slave_, &settings);
    return settings;
}

std::uint32_t PtyPeer::SlaveBaudRate() const
{
    return Detail::PtyBaudRate(slave_);
}

void PtyPeer::SetResponder(Responder responder)
{
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

void PtyPeer::SetFramer(Framer framer)
{
    {
        std::lock_guard lock(mutex_);
        framer_ = std::move(framer);
    }
    Wake();
}

void PtyPeer::SetRequestIdle(std::chrono::milliseconds idle)
{
    {
        std::lock_guard lock(mutex_);
        requestIdle_ = idle;
    }
    Wake();
}

void PtyPeer::SetReplyDelay(std::chrono::milliseconds delay)
{
    std::lock_guard lock(mutex_);
    replyDelay_ = delay;
}

void PtyPeer::AddGap(std::size_t offset, std::chrono::milliseconds pause)
{
    std::lock_guard lock(mutex_);
    gaps_.push_back({offset, pause});
    std::sort(gaps_.begin(), gaps_.end(), [](const Gap& a, const Gap& b) { return a.offset < b.offset; });
}

void PtyPeer::SetSilent(bool silent)
{
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

void PtyPeer::SetReading(bool reading)
{
    {
        std::lock_guard lock(mutex_);
        reading_ = reading;
    }
    Wake();
}

void PtyPeer::HangUpAfter(std::size_t requests)
{
    {
        std::lock_guard lock(mutex_);
        hangUpAfter_ = requests;
    }
    Wake();
}

void PtyPeer::HangUp()
{
    {
        std::lock_guard lock(mutex_);
        hangUpNow_ = true;
    }
    changed_.notify_all();
    Wake();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return hungUp_ || stopping_; });
}

void PtyPeer::Send(const Bytes& bytes)
{
    {
        std::lock_guard lock(mutex_);
        outgoing_.push_back(bytes);
    }
    Wake();
}

std::vector<PtyPeer::Bytes> PtyPeer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

bool PtyPeer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

void PtyPeer::SetLineRate(std::uint32_t baudRate)
{
    std::lock_guard lock(mutex_);
    lineRate_ = baudRate;
}

std::size_t PtyPeer::DrainUnread()
{
    std::lock_guard lock(mutex_);
    std::size_t total = 0;
    char buffer[4096];
    while (master_ >= 0)
    {
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got > 0)
        {
            total += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR)
        {
            continue;
        }
        // The kernel moves queued bytes across a moment after room appears.
        pollfd entry{master_, POLLIN, 0};
        if (::poll(&entry, 1, 50) <= 0)
        {
            break;
        }
    }
    return total;
}

bool PtyPeer::IsHungUp() const
{
    std::lock_guard lock(mutex_);
    return hungUp_;
}

PtyPeer::Responder PtyPeer::Script(std::vector<Bytes> replies)
{
    auto state = std::make_shared<std::pair<std::vector<Bytes>, std::size_t>>(std::move(replies), 0);
    return [state](const Bytes&) -> Bytes
    {
        auto& [list, next] = *state;
        return next < list.size() ? list[next++] : Bytes{};
    };
}

PtyPeer::Responder PtyPeer::Echo()
{
    return [](const Bytes& request) { return request; };
}

void PtyPeer::Wake()
{
    const char byte = 0;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &byte, 1);
}

void PtyPeer::CloseMasterLocked()
{
    CloseFd(master_);
    hungUp_ = true;
    changed_.notify_all();
}

bool PtyPeer::Pause(std::chrono::milliseconds duration, std::unique_lock<std::mutex>& lock)
{
    changed_.wait_for(lock, duration, [this] { return stopping_ || hangUpNow_; });
    return !stopping_ && !hangUpNow_;
}

bool PtyPeer::WriteAll(const Bytes& bytes, std::unique_lock<std::mutex>& lock)
{
    std::size_t written = 0;
    while (written < bytes.size())
    {
        if (stopping_ || hangUpNow_ || master_ < 0)
        {
            return false;
        }
        const ssize_t put = ::write(master_, bytes.data() + written, bytes.size() - written);
        if (put > 0)
        {
            written += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR)
        {
            return false;
        }
        // The port is not reading: wait for room without holding the knobs.
        lock.unlock();
        pollfd entry{master_, POLLOUT, 0};
        ::poll(&entry, 1, 10);
        lock.lock();
    }
    return true;
}

bool PtyPeer::WritePaced(const Bytes& bytes, std::unique_lock<std::mutex>& lock)
{
    if (lineRate_ == 0)
    {
        return WriteAll(bytes, lock);
    }
    const double bytesPerSecond = lineRate_ / 10.0;
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size())
    {
        // Every byte whose time has come goes out together, so a late wake-up never stretches the reply.
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const auto due = std::min(bytes.size(), static_cast<std::size_t>(elapsed * bytesPerSecond) + 1);
        if (due > sent)
        {
            if (!WriteAll(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(sent),
                                bytes.begin() + static_cast<std::ptrdiff_t>(due)),
                          lock))
            {
                return false;
            }
            sent = due;
            continue;
        }
        const auto next = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                      static_cast<double>(sent) / bytesPerSecond));
        changed_.wait_until(lock, next, [this] { return stopping_ || hangUpNow_; });
        if (stopping_ || hangUpNow_)
        {
            return false;
        }
    }
    return true;
}

void PtyPeer::HandleRequest(Bytes request, std::unique_lock<std::mutex>& lock)
{
    requests_.push_back(request);
    changed_.notify_all();
    if (hangUpAfter_ && requests_.size() > *hangUpAfter_)
    {
        hangUpNow_ = true;
        return;
    }

    if (!silent_ && responder_)
    {
        Responder responder = responder_;
        lock.unlock();
        const Bytes reply = responder(request);
        lock.lock();
        if (!reply.empty() && Pause(replyDelay_, lock))
        {
            std::size_t from = 0;
            const std::vector<Gap> gaps = gaps_;
            for (const Gap& gap : gaps)
            {
                if (gap.offset <= from || gap.offset >= reply.size())
                {
                    continue;
                }
                if (!WritePaced(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(from),
                                      reply.begin() + static_cast<std::ptrdiff_t>(gap.offset)),
                                lock) ||
                    !Pause(gap.pause, lock))
                {
                    return;
                }
                from = gap.offset;
            }
            WritePaced(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(from), reply.end()), lock);
        }
    }
}

void PtyPeer::Serve()
{
    Bytes pending;
    Clock::time_point lastByte = Clock::now();
    std::unique_lock lock(mutex_);
    while (!stopping_)
    {
        if (hangUpNow_ && master_ >= 0)
        {
            CloseMasterLocked();
        }
        if (master_ < 0)
        {
            outgoing_.clear();
            changed_.wait(lock, [this] { return stopping_; });
            break;
        }
        if (!outgoing_.empty())
        {
            const Bytes bytes = std::move(outgoing_.front());
            outgoing_.erase(outgoing_.begin());
            WriteAll(bytes, lock);
            continue;
        }

        int timeoutMs = -1;
        if (!pending.empty())
        {
            std::size_t length = 0;
            if (framer_)
            {
                length = std::min(framer_(pending), pending.size());
            }
            else
            {
                const auto quiet = Clock::now() - lastByte;
                if (quiet >= requestIdle_)
                {
                    length = pending.size();
                }
                else
                {
                    timeoutMs = static_cast<int>(
                        std::chrono::ceil<std::chrono::milliseconds>(requestIdle_ - quiet).count());
                }
            }
            if (length > 0)
            {
                Bytes request(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(length));
                pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(length));
                HandleRequest(std::move(request), lock);
                continue;
            }
        }

        const bool reading = reading_;
        const int master = master_;
        lock.unlock();
        pollfd entries[2] = {{master, static_cast<short>(reading ? POLLIN : 0), 0}, {wakeRead_, POLLIN, 0}};
        ::poll(entries, 2, timeoutMs);
        if ((entries[1].revents & POLLIN) != 0)
        {
            char drain[64];
            while (::read(wakeRead_, drain, sizeof drain) > 0)
            {
            }
        }
        std::uint8_t chunk[4096];
        ssize_t got = 0;
        if (reading && (entries[0].revents & POLLIN) != 0)
        {
            got = ::read(master, chunk, sizeof chunk);
        }
        lock.lock();
        if (got > 0)
        {
            pending.insert(pending.end(), chunk, chunk + got);
            lastByte = Clock::now();
        }
    }
}
} // namespace PyxTest
