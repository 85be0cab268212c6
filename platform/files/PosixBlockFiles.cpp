#include "platform/files/PosixBlockFiles.h"

#include "platform/system/Descriptor.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvella {

namespace {

int openRetrying(const char* path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// pwrite, retried while it makes progress; the bytes written.
std::size_t writeAll(int fd, std::int64_t offset, const void* data, std::size_t bytes)
{
    const auto* from = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < bytes) {
        const ssize_t n = ::pwrite(fd, from + done, bytes - done,
                                   static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

class PosixBlockFile : public BlockFile {
public:
    explicit PosixBlockFile(int fd) : m_fd(fd) {}

    std::size_t writeAt(std::int64_t offset, const void* data, std::size_t bytes) override
    {
        return writeAll(m_fd.get(), offset, data, bytes);
    }

    void dropCache(std::int64_t offset, std::int64_t length) override
    {
        ::posix_fadvise(m_fd.get(), static_cast<off_t>(offset), static_cast<off_t>(length),
                        POSIX_FADV_DONTNEED);
    }

    void reserve(std::int64_t bytes) override
    {
        ::fallocate(m_fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
    }

private:
    Descriptor m_fd;
};

class PosixFileLock : public FileLock {
public:
    explicit PosixFileLock(int fd) : m_fd(fd) {}
    // Closing the only descriptor of the open file releases the flock.

private:
    Descriptor m_fd;
};

} // namespace

std::unique_ptr<BlockFile> PosixBlockFiles::createExclusive(const std::string& path)
{
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixBlockFile>(fd);
}

std::unique_ptr<BlockFile> PosixBlockFiles::openExisting(const std::string& path)
{
    const int fd = openRetrying(path.c_str(), O_WRONLY);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixBlockFile>(fd);
}

BlockFiles::ReadResult PosixBlockFiles::readFile(const std::string& path, void* buffer,
                                                 std::size_t bytes)
{
    ReadResult result;
    Descriptor fd(openRetrying(path.c_str(), O_RDONLY));
    if (!fd.valid()) {
        return result;
    }
    result.opened = true;
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    auto* to = static_cast<char*>(buffer);
    while (result.bytes < bytes) {
        const ssize_t n = ::read(fd.get(), to + result.bytes, bytes - result.bytes);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        result.bytes += static_cast<std::size_t>(n);
    }
    return result;
}

bool PosixBlockFiles::removeFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

BlockFiles::DirResult PosixBlockFiles::makeDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) == 0) {
        return DirResult::Created;
    }
    return errno == EEXIST ? DirResult::AlreadyExists : DirResult::Failed;
}

bool PosixBlockFiles::removeDirectory(const std::string& path)
{
    return ::rmdir(path.c_str()) == 0;
}

bool PosixBlockFiles::directoryExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::unique_ptr<FileLock> PosixBlockFiles::lockFile(const std::string& path)
{
    const int fd = openRetrying(path.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0) {
        return nullptr;
    }
    auto lock = std::make_unique<PosixFileLock>(fd);
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        return nullptr; // the descriptor closes with `lock`
    }
    return lock;
}

bool PosixBlockFiles::syncFile(const std::string& path)
{
    Descriptor fd(openRetrying(path.c_str(), O_RDONLY));
    return fd.valid() && ::fdatasync(fd.get()) == 0;
}

bool PosixBlockFiles::replaceFile(const std::string& path, const std::string& contents)
{
    const std::string fresh = path + ".new";
    bool written = false;
    {
        Descriptor fd(openRetrying(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
        written = fd.valid() &&
                  writeAll(fd.get(), 0, contents.data(), contents.size()) == contents.size() &&
                  ::fdatasync(fd.get()) == 0;
    }
    if (!written || ::rename(fresh.c_str(), path.c_str()) != 0) {
        ::unlink(fresh.c_str());
        return false;
    }
    return true;
}

} // namespace sorvella
