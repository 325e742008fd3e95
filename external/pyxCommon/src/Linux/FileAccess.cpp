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

// Removes the temporary file unless it was renamed into place.
class TemporaryFile
{
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path_.empty())
        {
            ::unlink(path_.c_str());
        }
    }

    const std::string& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::string path_;
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

    static std::atomic<unsigned> counter{0};
    int fdValue = -1;
    std::string temporaryPath;
    for (int attempt = 0; attempt < 100 && fdValue < 0; ++attempt)
    {
        temporaryPath = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fdValue = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
    TemporaryFile temporary(temporaryPath);
    // The replacement keeps the owner, group and permissions of the file it replaces, so root writing over
    // a user's file does not take it from its owner. A caller who may not give the file away (EPERM) ends
    // up owning it, as with any file it writes. The mode comes last: a change of owner clears set-id bits.
    if (exists && ::fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0 && errno != EPERM)
    {
        return Failure(WriteStatus::WriteFailed);
    }
    if (exists && ::fchmod(fd.Get(), existing.st_mode & 07777) != 0)
    {
        return Failure(WriteStatus::WriteFailed);
    }
    if (!WriteAll(fd.Get(), content) || ::fsync(fd.Get()) != 0 || fd.Close() != 0)
    {
        return Failure(WriteStatus::WriteFailed);
    }
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0)
    {
        return Failure(WriteStatus::WriteFailed);
    }
    temporary.Release();
    // Makes the rename itself durable; the new file is in place either way, so a failure here is not one.
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.IsOpen())
    {
        ::fsync(folder.Get());
    }
    return {WriteStatus::Written, 0};
}

std::string ErrorText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}
} // namespace PyxCommon::FileAccess
