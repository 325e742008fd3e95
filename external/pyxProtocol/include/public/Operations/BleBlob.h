#pragma once

#include <cstdint>

namespace PyxProtocol
{
// The result code a reader puts in byte 2 of every BLE blob reply. The values are POSIX errno numbers; any
// code not named here is a transient failure and is retried.
enum class BleBlobResultCode : std::uint8_t
{
    Ready = 0,
    Interrupted = 4,     // EINTR: the previous operation was interrupted
    IoError = 5,         // EIO
    Busy = 11,           // EAGAIN: poll again
    OutOfMemory = 12,    // ENOMEM
    InvalidArgument = 22 // EINVAL
};

static_assert(sizeof(BleBlobResultCode) == 1);
} // namespace PyxProtocol
