#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Operations/BleBlob.h"
#include "Utility/TimeDelay.h"

namespace PyxTransport
{
class Transport;
}

// What the BLE blob read and write share: the 0x89 phrases, the fixed waits and bounds of their exchanges,
// the result codes that end a transfer at once, and the exchange of one phrase itself. Each command keeps its
// own phrases and steps; a failure of the shared exchange names the command's own source file and step.
namespace PyxProtocol::BleBlob
{
constexpr std::uint8_t kCommand = 0x89;
constexpr std::uint8_t kReadOpcode = 0x10;
constexpr std::uint8_t kWriteOpcode = 0x90;
constexpr std::uint8_t kPollFlag = 0x80;
constexpr std::uint8_t kStoreIndex = 0xFF;

constexpr std::size_t kReplySize = 8;
// Bytes before a reply's result code can be read: the echo of command and opcode, then the code.
constexpr std::size_t kCodedReplySize = 3;
constexpr std::size_t kResultCodeAt = 2;
constexpr std::size_t kReadDataAt = 4;
constexpr std::size_t kBytesPerPhrase = 4;

// Waits, in milliseconds: between a request and its reply, between the retries of one phrase, after a read
// setup (and before it is sent again), and around each written block.
constexpr int kExchangeWaitMs = 10;
constexpr int kRetryWaitMs = 25;
constexpr int kSetupWaitMs = 30;
constexpr int kBlockWaitMs = 100;

// A phrase is sent once and retried at most this often on a transient code.
constexpr int kMaxRetries = 3;
// A read setup is sent again at most this often after a poll storm.
constexpr int kMaxSetupResends = 3;
// Consecutive non-busy failures of a read poll that make a storm.
constexpr int kStormThreshold = 10;

// The poll pacing both visitors give their command.
constexpr std::uint32_t kPollDelayMs = 10;
constexpr std::int32_t kAttemptLimit = 100;

constexpr const char* kNoModuleHint = ". The reader may not have a BLE module installed.";

constexpr std::uint8_t Code(BleBlobResultCode code)
{
    return static_cast<std::uint8_t>(code);
}

// The message prefix of a code that ends the transfer at once, or nullptr for a code that is retried.
inline const char* FatalCodeText(std::uint8_t code)
{
    switch (static_cast<BleBlobResultCode>(code))
    {
    case BleBlobResultCode::Interrupted:
        return "Previous operation interrupted during ";
    case BleBlobResultCode::IoError:
        return "I/O error during ";
    case BleBlobResultCode::OutOfMemory:
        return "Out of memory during ";
    case BleBlobResultCode::InvalidArgument:
        return "Invalid argument during ";
    default:
        return nullptr;
    }
}

// The step names that carry a phrase index.
inline std::string IndexedStep(const char* step, int index)
{
    return std::string(step) + std::to_string(index);
}

void Debug(const std::string& message);

// One phrase out as a feature report, the fixed wait, the 8-byte reply back; every reply must echo 0x89 and
// the command's opcode and carry a result code. Failures are thrown as raised in `sourceFile`, the command's
// own file. Waits go through `delay`, which must outlive the exchange.
class Exchange
{
public:
    Exchange(std::uint8_t opcode, const char* sourceFile, PyxCommon::TimeDelay& delay,
             std::uint32_t pollDelayMs, std::int32_t attemptLimit);

    std::vector<std::uint8_t> ExchangePhrase(PyxTransport::Transport& transport,
                                             const std::vector<std::uint8_t>& phrase);
    // The reply's result code; throws on a short reply, a wrong echo or a code that ends the transfer.
    std::uint8_t CheckResponseCode(const std::vector<std::uint8_t>& reply, const std::string& step) const;
    // The reply once the code is Ready; other codes are retried kMaxRetries times, kRetryWaitMs apart.
    std::vector<std::uint8_t> SendWithRetry(PyxTransport::Transport& transport,
                                            const std::vector<std::uint8_t>& phrase, const std::string& step);
    // Polls until Ready, pollDelayMs apart, at most attemptLimit times. With `stopOnStorm` a run of
    // kStormThreshold failures that are not busy returns false (the caller sends its setup again); without
    // it every code short of Ready is polled again.
    bool PollUntilReady(PyxTransport::Transport& transport, const std::vector<std::uint8_t>& phrase,
                        const std::string& step, bool stopOnStorm);

private:
    std::uint8_t opcode_;
    const char* sourceFile_;
    PyxCommon::TimeDelay& delay_;
    std::uint32_t pollDelayMs_;
    std::int32_t attemptLimit_;
};
} // namespace PyxProtocol::BleBlob
