#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Transport.h"

namespace PyxTest
{
// A transport without a device: every call is recorded, each receive returns the next queued reply, and a
// chosen call can be made to throw. A receive with nothing queued throws a TransportException, so a command
// that reads more than the test expected fails loudly, unless a reply generator was given.
class ScriptedTransport : public PyxTransport::Transport
{
public:
    enum class Operation
    {
        Init,
        Transmit,
        Receive,
    };

    // One recorded call: the packet as the caller passed it (or the retry count of an init).
    struct Call
    {
        Operation operation;
        std::vector<std::uint8_t> data;
        std::uint16_t length = 0;
        PyxTransport::HidReportType reportType = PyxTransport::HidReportType::Feature;
        std::uint32_t retryCount = 0;
    };

    enum class Failure
    {
        TransportException,
        RuntimeError,
    };

    ScriptedTransport();
    explicit ScriptedTransport(const PyxCommon::ReaderDefinition& definition);

    void init(std::uint32_t retryCount) override;
    std::vector<std::uint8_t> receive(const PyxTransport::TransportPacket& packet) override;
    void transmit(const PyxTransport::TransportPacket& packet) override;

    // Replies are handed out in the order queued.
    ScriptedTransport& QueueReply(std::vector<std::uint8_t> reply);
    ScriptedTransport& QueueReplies(const std::vector<std::vector<std::uint8_t>>& replies);
    // Makes the reply of every receive that finds nothing queued, given the receive's packet; queued replies
    // still come first. For tests that answer an open-ended exchange, such as random replies.
    using ReplyGenerator = std::function<std::vector<std::uint8_t>(const PyxTransport::TransportPacket&)>;
    ScriptedTransport& GenerateReplies(ReplyGenerator generator);
    // The nth call (1-based) of `operation` throws `failure` with `message`; the call is still recorded.
    // Transmit and receive calls are counted separately, init calls too.
    void FailOn(Operation operation, std::size_t nth, Failure failure,
                std::string message = "scripted failure");
    // The nth transmit-or-receive call (1-based, both counted together) throws.
    void FailOnCall(std::size_t nth, Failure failure, std::string message = "scripted failure");

    const std::vector<Call>& Calls() const { return calls_; }
    // The data of every transmit, in order.
    std::vector<std::vector<std::uint8_t>> Transmitted() const;
    // The Length of every receive request, in order.
    std::vector<std::uint16_t> ReceiveLengths() const;
    std::size_t CountOf(Operation operation) const;
    std::size_t PendingReplies() const { return replies_.size(); }
    void Clear();

private:
    struct PlannedFailure
    {
        std::optional<Operation> operation; // none: any transmit or receive
        std::size_t nth;
        Failure failure;
        std::string message;
    };

    void Record(Call call);

    std::vector<Call> calls_;
    // Calls of each operation, kept as they are recorded so that long exchanges are counted in constant time.
    std::array<std::size_t, 3> counts_{};
    std::deque<std::vector<std::uint8_t>> replies_;
    ReplyGenerator generator_;
    std::vector<PlannedFailure> failures_;
};
} // namespace PyxTest
