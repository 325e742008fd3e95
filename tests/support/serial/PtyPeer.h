#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <termios.h>

namespace PyxTest
{
// A serial device for tests: the master side of a pseudo-terminal, served on a thread of its own. Code under
// test opens SlavePath() like any serial port (/dev/pts/N).
//
// The peer gathers the bytes it reads into a request: by default a request is complete once the line has
// been quiet for RequestIdle (5 ms); a Framer can say instead where a request ends. Each complete request
// is recorded (Requests) and handed to the Responder on the peer's thread; the bytes it returns are written
// back as the reply. An empty reply sends nothing.
//
// Knobs, all safe to change from the test's thread at any time:
//   SetReplyDelay   a pause before the first byte of every reply;
//   AddGap          a pause before the byte at a given offset of every reply (the reply arrives in pieces);
//   SetLineRate     replies go out at the pace of a line of that baud rate (ten bits a byte), as a reader
//                   on a slow line sends them; 0 (the default) writes each piece at once;
//   SetSilent       requests are recorded but never answered;
//   SetReading      false: the peer stops reading, so the port's output backs up (write time-outs);
//   HangUpAfter     after that many requests in all, the next one is not answered: the peer closes its side
//                   as it arrives (a reply followed at once by a hang-up could be flushed unread);
//   HangUp          closes the peer's side now: the port then sees a hung-up line.
//   Send            writes bytes to the port unasked.
// DrainUnread() reads, on the test's thread, what the port wrote that the peer has not read (with
// SetReading(false)) until the line stays empty for a moment, and returns the byte count.
//
// A reader simulator plugs in as the Responder:
//   PyxTest::PtyPeer peer([&](const std::vector<uint8_t>& request) { return simulator.Answer(request); });
class PtyPeer
{
public:
    using Bytes = std::vector<std::uint8_t>;
    using Responder = std::function<Bytes(const Bytes& request)>;
    // Given the bytes gathered so far, returns the length of the complete request at their front, or 0 while
    // it is incomplete.
    using Framer = std::function<std::size_t(const Bytes& pending)>;

    static constexpr std::chrono::milliseconds kDefaultRequestIdle{5};

    // Opens the pty pair and starts serving. Without a responder every request goes unanswered.
    explicit PtyPeer(Responder responder = {});
    // Stops the thread and closes both sides.
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    // The device path to open as the serial port.
    const std::string& SlavePath() const { return slavePath_; }
    // The line settings of the slave as the port left them (a pty keeps one set, readable from either side).
    termios SlaveSettings() const;
    // The slave's baud rate as a number, including rates that have no B-constant.
    std::uint32_t SlaveBaudRate() const;

    void SetResponder(Responder responder);
    void SetFramer(Framer framer);
    void SetRequestIdle(std::chrono::milliseconds idle);
    void SetReplyDelay(std::chrono::milliseconds delay);
    void AddGap(std::size_t offset, std::chrono::milliseconds pause);
    void SetLineRate(std::uint32_t baudRate);
    void SetSilent(bool silent);
    void SetReading(bool reading);
    void HangUpAfter(std::size_t requests);
    void HangUp();
    void Send(const Bytes& bytes);

    // Every complete request received so far, in order.
    std::vector<Bytes> Requests() const;
    // Waits until at least `count` requests arrived; false on time-out.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;
    bool IsHungUp() const;
    std::size_t DrainUnread();

    // A responder that answers the n-th request with replies[n], and nothing once they run out.
    static Responder Script(std::vector<Bytes> replies);
    // A responder that answers every request with the request itself.
    static Responder Echo();

private:
    struct Gap
    {
        std::size_t offset;
        std::chrono::milliseconds pause;
    };

    void Serve();
    void HandleRequest(Bytes request, std::unique_lock<std::mutex>& lock);
    // Writes all of `bytes` to the master; false when stopped or hung up meanwhile.
    bool WriteAll(const Bytes& bytes, std::unique_lock<std::mutex>& lock);
    // WriteAll at the line rate, if one is set.
    bool WritePaced(const Bytes& bytes, std::unique_lock<std::mutex>& lock);
    // Sleeps, waking early to stop; false when stopping.
    bool Pause(std::chrono::milliseconds duration, std::unique_lock<std::mutex>& lock);
    void CloseMasterLocked();
    void Wake();

    int master_ = -1;
    int slave_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string slavePath_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Responder responder_;
    Framer framer_;
    std::chrono::milliseconds requestIdle_ = kDefaultRequestIdle;
    std::chrono::milliseconds replyDelay_{0};
    std::vector<Gap> gaps_;
    std::uint32_t lineRate_ = 0;
    bool silent_ = false;
    bool reading_ = true;
    std::optional<std::size_t> hangUpAfter_;
    bool hangUpNow_ = false;
    bool hungUp_ = false;
    bool stopping_ = false;
    std::vector<Bytes> outgoing_;
    std::vector<Bytes> requests_;

    std::thread thread_;
};
} // namespace PyxTest
