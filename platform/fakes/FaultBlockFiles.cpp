#include "platform/fakes/FaultBlockFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace sorvella {

// A block file whose writes pass through the fault controls of its owner.
// The owner must outlive it.
class FaultBlockFiles::File : public BlockFile {
public:
    File(FaultBlockFiles& owner, std::unique_ptr<BlockFile> real)
        : m_owner(owner), m_real(std::move(real))
    {
    }

    std::size_t writeAt(std::int64_t offset, const void* data, std::size_t bytes) override
    {
        return m_owner.write(*m_real, offset, data, bytes);
    }

    void dropCache(std::int64_t offset, std::int64_t length) override
    {
        m_owner.dropCache(*m_real, offset, length);
    }

    void reserve(std::int64_t bytes) override { m_real->reserve(bytes); }

private:
    FaultBlockFiles& m_owner;
    std::unique_ptr<BlockFile> m_real;
};

FaultBlockFiles::FaultBlockFiles(BlockFiles& real) : m_real(real) {}

FaultBlockFiles::~FaultBlockFiles() = default;

void FaultBlockFiles::failCreates(bool fail)
{
    std::lock_guard lock(m_mutex);
    m_failCreates = fail;
}

void FaultBlockFiles::failNextCreates(int count)
{
    std::lock_guard lock(m_mutex);
    m_failNextCreates = count;
}

void FaultBlockFiles::throwFromNextRemove()
{
    std::lock_guard lock(m_mutex);
    m_throwFromRemove = true;
}

void FaultBlockFiles::setDiskFull(std::int64_t bytesLeft)
{
    std::lock_guard lock(m_mutex);
    m_spaceLeft = std::max<std::int64_t>(bytesLeft, 0);
}

void FaultBlockFiles::spaceIsBack()
{
    std::lock_guard lock(m_mutex);
    m_spaceLeft.reset();
}

void FaultBlockFiles::holdWrites(std::optional<std::chrono::milliseconds> limit)
{
    std::lock_guard lock(m_mutex);
    m_holding = true;
    m_holdUntil.reset();
    if (limit) {
        m_holdUntil = std::chrono::steady_clock::now() + *limit;
    }
    m_changed.notify_all();
}

void FaultBlockFiles::releaseWrites()
{
    std::lock_guard lock(m_mutex);
    m_holding = false;
    m_holdUntil.reset();
    m_changed.notify_all();
}

int FaultBlockFiles::heldWriters() const
{
    std::lock_guard lock(m_mutex);
    return m_heldWriters;
}

bool FaultBlockFiles::waitForHeldWriter(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [this] { return m_heldWriters > 0; });
}

void FaultBlockFiles::failLocks(bool fail)
{
    std::lock_guard lock(m_mutex);
    m_failLocks = fail;
}

void FaultBlockFiles::refuseDirectoriesIn(std::string base)
{
    std::lock_guard lock(m_mutex);
    m_refusedBase = std::move(base);
}

void FaultBlockFiles::setBeforeMakeDirectory(std::function<void(const std::string&)> hook)
{
    std::lock_guard lock(m_mutex);
    m_beforeMakeDirectory = std::move(hook);
}

std::int64_t FaultBlockFiles::createCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_createCalls;
}

std::int64_t FaultBlockFiles::writeCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_writeCalls;
}

std::int64_t FaultBlockFiles::bytesWritten() const
{
    std::lock_guard lock(m_mutex);
    return m_bytesWritten;
}

std::int64_t FaultBlockFiles::dropCacheCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_dropCacheCalls;
}

std::int64_t FaultBlockFiles::removeCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_removeCalls;
}

std::unique_ptr<BlockFile> FaultBlockFiles::createExclusive(const std::string& path)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_createCalls;
        if (m_failNextCreates > 0) {
            --m_failNextCreates;
            return nullptr;
        }
        if (m_failCreates) {
            return nullptr;
        }
    }
    auto real = m_real.createExclusive(path);
    return real ? std::make_unique<File>(*this, std::move(real)) : nullptr;
}

std::unique_ptr<BlockFile> FaultBlockFiles::openExisting(const std::string& path)
{
    auto real = m_real.openExisting(path);
    return real ? std::make_unique<File>(*this, std::move(real)) : nullptr;
}

void FaultBlockFiles::abortAt(AbortPoint point, int count)
{
    std::lock_guard lock(m_mutex);
    m_abortPoint = point;
    m_callsBeforeAbort = count;
}

void FaultBlockFiles::abortIfDue(AbortPoint point)
{
    if (point == m_abortPoint && m_callsBeforeAbort > 0 && --m_callsBeforeAbort == 0) {
        std::abort();
    }
}

BlockFiles::ReadResult FaultBlockFiles::readFile(const std::string& path, void* buffer,
                                                 std::size_t bytes)
{
    {
        std::lock_guard lock(m_mutex);
        abortIfDue(AbortPoint::Read);
    }
    return m_real.readFile(path, buffer, bytes);
}

bool FaultBlockFiles::removeFile(const std::string& path)
{
    {
        std::lock_guard lock(m_mutex);
        abortIfDue(AbortPoint::Remove);
        ++m_removeCalls;
        if (std::exchange(m_throwFromRemove, false)) {
            throw std::runtime_error(kThrownText);
        }
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    const bool removed = m_real.removeFile(path);
    std::lock_guard lock(m_mutex);
    if (removed && !error && m_spaceLeft) {
        *m_spaceLeft += static_cast<std::int64_t>(size);
    }
    return removed;
}

BlockFiles::DirResult FaultBlockFiles::makeDirectory(const std::string& path)
{
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard lock(m_mutex);
        if (!m_refusedBase.empty() && path.rfind(m_refusedBase + "/", 0) == 0) {
            return DirResult::Failed;
        }
        hook = m_beforeMakeDirectory;
    }
    if (hook) {
        hook(path);
    }
    return m_real.makeDirectory(path);
}

bool FaultBlockFiles::removeDirectory(const std::string& path)
{
    return m_real.removeDirectory(path);
}

bool FaultBlockFiles::directoryExists(const std::string& path)
{
    return m_real.directoryExists(path);
}

std::unique_ptr<FileLock> FaultBlockFiles::lockFile(const std::string& path)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_failLocks) {
            return nullptr;
        }
    }
    return m_real.lockFile(path);
}

bool FaultBlockFiles::syncFile(const std::string& path)
{
    return m_real.syncFile(path);
}

bool FaultBlockFiles::replaceFile(const std::string& path, const std::string& contents)
{
    return m_real.replaceFile(path, contents);
}

std::size_t FaultBlockFiles::write(BlockFile& real, std::int64_t offset, const void* data,
                                   std::size_t bytes)
{
    std::size_t allowed = bytes;
    {
        std::unique_lock lock(m_mutex);
        ++m_writeCalls;
        while (m_holding) {
            if (m_holdUntil && std::chrono::steady_clock::now() >= *m_holdUntil) {
                m_holding = false;
                m_holdUntil.reset();
                break;
            }
            ++m_heldWriters;
            m_changed.notify_all();
            if (m_holdUntil) {
                const auto until = *m_holdUntil;
                m_changed.wait_until(lock, until);
            } else {
                m_changed.wait(lock);
            }
            --m_heldWriters;
        }
        if (m_spaceLeft) {
            allowed = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(bytes), *m_spaceLeft));
            *m_spaceLeft -= static_cast<std::int64_t>(allowed);
        }
    }
    const std::size_t written = allowed > 0 ? real.writeAt(offset, data, allowed) : 0;
    std::lock_guard lock(m_mutex);
    m_bytesWritten += static_cast<std::int64_t>(written);
    if (m_spaceLeft) {
        *m_spaceLeft += static_cast<std::int64_t>(allowed - written);
    }
    return written;
}

void FaultBlockFiles::dropCache(BlockFile& real, std::int64_t offset, std::int64_t length)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_dropCacheCalls;
    }
    real.dropCache(offset, length);
}

} // namespace sorvella
