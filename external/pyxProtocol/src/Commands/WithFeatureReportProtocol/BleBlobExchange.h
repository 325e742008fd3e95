#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Operations/BleBlob.h"

// What the BLE blob read and write share: the 0x89 phrases, the fixed waits and bounds of their exchanges,
// and the result codes that end a transfer at once. Each command keeps its own exchange loop, so that every
// failure names the command's own source and step.
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
} // namespace PyxProtocol::BleBlob
