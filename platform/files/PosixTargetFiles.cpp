#include "platform/files/PosixTargetFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvella {

namespace {

bool isFullError(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

class PosixTargetFile : public TargetFile {
public:
    PosixTargetFile(int fd, std::shared_ptr<OpenTargetRegistry> registry)
        : m_fd(fd), m_registry(std::move(registry))
    {
    }
    ~PosixTargetFile() override { close(); }
    PosixTargetFile(const PosixTargetFile&) = delete;
    PosixTargetFile& operator=(const PosixTargetFile&) = delete;

    // Takes the hold, then empties the file: a file held by someone else must
    // keep its content, so O_TRUNC at open would be too early.
    bool hold()
    {
        struct stat status {};
        if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            return false;
        }
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            return false;
        }
        const OpenTargetRegistry::FileIdentity identity{status.st_dev, status.st_ino};
        if (!m_registry->claim(identity)) {
            return false;
        }
        m_claimed = identity;
        const int flags = ::fcntl(m_fd, F_GETFL);
        return flags >= 0 && ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && makeEmpty();
    }

    // An empty file is left alone: on ext4 any truncate to zero marks the file
    // for a flush of everything written when it is closed, which would make
    // the end of every save wait for the disk.
    bool makeEmpty()
    {
        struct stat status {};
        return ::fstat(m_fd, &status) == 0 && (status.st_size == 0 || ::ftruncate(m_fd, 0) == 0);
    }

    std::int64_t write(const void* data, std::size_t bytes) override
    {
        const auto* from = static_cast<const char*>(data);
        std::size_t done = 0;
        while (done < bytes) {
            const ssize_t n = ::write(m_fd, from + done, bytes - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (done == 0 && n < 0 && !isFullError(errno)) {
                return -1;
            }
            break;
        }
        return static_cast<std::int64_t>(done);
    }

    bool seek(std::int64_t position) override
    {
        return ::lseek(m_fd, static_cast<off_t>(position), SEEK_SET) >= 0;
    }

    bool close() override
    {
        if (m_fd < 0) {
            return true;
        }
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        if (m_claimed) {
            m_registry->release(*m_claimed);
            m_claimed.reset();
        }
        return closed;
    }

private:
    int m_fd;
    std::shared_ptr<OpenTargetRegistry> m_registry;
    std::optional<OpenTargetRegistry::FileIdentity> m_claimed;
};

} // namespace

PosixTargetFiles::PosixTargetFiles() : m_registry(std::make_shared<OpenTargetRegistry>()) {}

std::unique_ptr<TargetFile> PosixTargetFiles::create(const std::string& path)
{
    int fd;
    do {
        // O_NONBLOCK: a FIFO of that name must not wait for a reader (it is
        // refused as not a regular file).
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return nullptr;
    }
    auto file = std::make_unique<PosixTargetFile>(fd, m_registry);
    if (!file->hold()) {
        return nullptr;
    }
    return file;
}

bool PosixTargetFiles::remove(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool PosixTargetFiles::rename(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL) {
        return false;
    }
    // File systems without RENAME_NOREPLACE: link() refuses an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

} // namespace sorvella
