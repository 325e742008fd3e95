#include "Utility/Parsers/FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace PyxCommon::FileAccess
{
namespace
{
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Reports the close's own failure, which can be the first sign of a lost write.
    int Close()
    {
        int result = 0;
        if (fd_ >= 0)
        {
            result = ::close(fd_);
            fd_ = -1;
        }
        return result;
    }

private:
    int fd_;
};

// Removes the temporary file, named within `folder`, unless it was renamed into place.
class TemporaryFile
{
public:
    TemporaryFile(int folder, std::string name) : folder_(folder), name_(std::move(name)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!name_.empty())
        {
            ::unlinkat(folder_, name_.c_str(), 0);
        }
    }

    const std::string& Name() const { return name_; }
    void Release() { name_.clear(); }

private:
    int folder_;
    std::string name_;
};

bool WriteAll(int fd, std::string_view content)
{
    while (!content.empty())
    {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A symbolic link is followed, so the file it names is replaced and the link stays.
std::string ResolveTarget(const std::string& path)
{
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
    {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr)
        {
            return resolved;
        }
    }
    return path;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
    {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The target's name and a suffix that makes it unique, or the suffix alone where both would pass the folder's
// limit on names. Within 255 bytes a name is also within 255 characters, so a target whose name only just
// fits, in bytes or in characters, still has a temporary file beside it.
std::string TemporaryName(const std::string& name, std::size_t nameMax, unsigned number)
{
    const std::string suffix = ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(number);
    return name.size() + suffix.size() <= nameMax ? name + suffix : suffix;
}

WriteResult Failure(WriteStatus status)
{
    return {status, errno};
}
} // namespace

ReadResult ReadRegularFile(const std::string& path, std::size_t limit)
{
    ReadResult result;
    // Non-blocking, so opening a FIFO without a writer returns at once instead of waiting for one.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.IsOpen())
    {
        result.Error = errno;
        return result;
    }
    struct stat info
    {
    };
    if (::fstat(fd.Get(), &info) != 0)
    {
        return {ReadStatus::ReadFailed, {}, errno};
    }
    if (!S_ISREG(info.st_mode))
    {
        return {ReadStatus::NotRegularFile, {}, 0};
    }
    // Room for the size the file reports, so a large file is not held twice while its text grows.
    result.Content.reserve(std::min(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), limit) + 1);
    // One byte past the limit is enough to know the file is too large.
    char buffer[65536];
    while (result.Content.size() <= limit)
    {
        const std::size_t wanted = std::min(sizeof buffer, limit + 1 - result.Content.size());
        const ssize_t got = ::read(fd.Get(), buffer, wanted);
        if (got < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return {ReadStatus::ReadFailed, {}, errno};
        }
        if (got == 0)
        {
            result.Status = ReadStatus::Read;
            return result;
        }
        result.Content.append(buffer, static_cast<std::size_t>(got));
    }
    return {ReadStatus::TooLarge, {}, 0};
}

WriteResult ReplaceFile(const std::string& path, std::string_view content)
{
    const std::string target = ResolveTarget(path);
    struct stat existing
    {
    };
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
    {
        return {WriteStatus::NotRegularFile, 0};
    }
    // The rename needs only the folder's permission, so a file its caller may not write would be replaced
    // all the same; it is refused as opening it for writing would refuse it.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    {
        return Failure(WriteStatus::OpenFailed);
    }

    // The temporary file is made, renamed and removed by its name within the folder, so only the target's own
    // path has to be one the system takes.
    const std::string name = NameOf(target);
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.IsOpen())
    {
        return Failure(WriteStatus::OpenFailed);
    }
    const long limit = ::fpathconf(folder.Get(), _PC_NAME_MAX);
    const std::size_t nameMax =
        std::min<std::size_t>(limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX, NAME_MAX);

    static std::atomic<unsigned> counter{0};
    int fdValue = -1;
    std::string temporaryName;
    for (int attempt = 0; attempt < 100 && fdValue < 0; ++attempt)
    {
        temporaryName = TemporaryName(name, nameMax, counter++);
        fdValue =
            ::openat(folder.Get(), temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fdValue < 0 && errno != EEXIST)
        {
            break;
        }
    }
    if (fdValue < 0)
    {
        return Failure(WriteStatus::OpenFailed);
    }
    FileDescriptor fd(fdValue);
    TemporaryFile temporary(folder.Get(), temporaryName);
    // The replacement keeps the owner, group and permissions of the file it replaces, so root writing over
    // a user's file does not take it from its owner. A caller who may not give the file away (EPERM) ends
    // up owning it, as with any file it writes, but still keeps its group where it may (as one of the
    // group's members), so a file shared through its group stays shared. The mode comes last: a change of
    // owner or group clears set-id bits.
    if (exists && ::fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0)
    {
        if (errno != EPERM ||
            (::fchown(fd.Get(), static_cast<uid_t>(-1), existing.st_gid) != 0 && errno != EPERM))
        {
            return Failure(WriteStatus::WriteFailed);
        }
    }
    if (exists && ::fchmod(fd.Get(), existing.st_mode & 07777) != 0)
    {
        return Failure(WriteStatus::WriteFailed);
    }
    if (!WriteAll(fd.Get(), content) || ::fsync(fd.Get()) != 0 || fd.Close() != 0)
    {
        return Failure(WriteStatus::WriteFailed);
    }
    if (::renameat(folder.Get(), temporary.Name().c_str(), folder.Get(), name.c_str()) != 0)
    {
        // The temporary name fits wherever the target's does, so a name the file system does not take shows
        // only here.
        return Failure(errno == ENAMETOOLONG ? WriteStatus::OpenFailed : WriteStatus::WriteFailed);
    }
    temporary.Release();
    // Makes the rename itself durable; the new file is in place either way, so a failure here is not one.
    FileDescriptor synced(::openat(folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (synced.IsOpen())
    {
        ::fsync(synced.Get());
    }
    return {WriteStatus::Written, 0};
}

std::string ErrorText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}
} // namespace PyxCommon::FileAccess
