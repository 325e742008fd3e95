#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The few file-system operations the configuration files need beyond the standard library: a bounded read
// that cannot stall on a FIFO or a device, and a replacement that never leaves a half-written file.
namespace PyxCommon::FileAccess
{
enum class ReadStatus
{
    Read,
    OpenFailed,
    NotRegularFile,
    TooLarge,
    ReadFailed,
};

struct ReadResult
{
    ReadStatus Status = ReadStatus::OpenFailed;
    std::string Content;
    int Error = 0; // errno of the failing call
};

// Reads a regular file whole; at most `limit` bytes are accepted, whatever size the file reports.
ReadResult ReadRegularFile(const std::string& path, std::size_t limit);

enum class WriteStatus
{
    Written,
    NotRegularFile, // something other than a regular file stands at the path
    OpenFailed,     // the caller may not write the target, or no temporary file could be made beside it
    WriteFailed,    // writing, syncing or renaming failed; the target is untouched
};

struct WriteResult
{
    WriteStatus Status = WriteStatus::Written;
    int Error = 0;
};

// Writes `content` to a temporary file in the target's folder, syncs it and renames it over the target, so
// the target holds either its old bytes or all of the new ones. The temporary file never outlives a failure.
// An existing target must be writable by the caller; its owner, group and mode pass to the new file, the
// owner only where the caller may give the file away and the group where the caller may set it.
WriteResult ReplaceFile(const std::string& path, std::string_view content);

std::string ErrorText(int error);
} // namespace PyxCommon::FileAccess
