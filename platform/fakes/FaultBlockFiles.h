#pragma once

#include "platform/files/BlockFiles.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace sorvella {

// A BlockFiles for tests: passes every operation to a real implementation
// and injects faults on request. All controls may be called from any thread
// while other threads use the files.
class FaultBlockFiles : public BlockFiles {
public:
    explicit FaultBlockFiles(BlockFiles& real);
    ~FaultBlockFiles() override;

    // --- Creation faults
    // While set, createExclusive fails (returns null, creates nothing).
    void failCreates(bool fail);
    // The next `count` calls of createExclusive fail.
    void failNextCreates(int count);

    // --- Exceptions, which the interface never throws: for the code that
    // must survive them anyway. The next removeFile throws std::runtime_error.
    void throwFromNextRemove();
    static constexpr const char* kThrownText = "Simulated file system exception";

    // --- Disk full
    // From now on the disk takes `bytesLeft` more bytes in all; a write that
    // does not fit is short (writes what fits), later ones write nothing. A
    // file removed meanwhile gives its bytes back.
    void setDiskFull(std::int64_t bytesLeft = 0);
    // Space is back: writes are complete again.
    void spaceIsBack();

    // --- Held writes
    // Every write (writeAt) blocks before it writes, until releaseWrites()
    // or, when `limit` is given, until that time has passed since this call.
    void holdWrites(std::optional<std::chrono::milliseconds> limit = std::nullopt);
    void releaseWrites();
    // Number of writes blocked right now; waits up to `limit` for at least one.
    int heldWriters() const;
    bool waitForHeldWriter(std::chrono::milliseconds limit);

    // --- A crash at a chosen point: the `count`-th call from now on of
    // readFile (a save reading a block) or removeFile (a trimmed or saved
    // block deleted) ends the process with std::abort, before it acts.
    enum class AbortPoint { Read, Remove };
    void abortAt(AbortPoint point, int count);

    // --- Session directory faults
    // While set, lockFile fails as if another holder kept the lock.
    void failLocks(bool fail);
    // makeDirectory fails for every path inside `base`, as in a read-only
    // directory; an empty base lifts it.
    void refuseDirectoriesIn(std::string base);
    // Called with the path just before every makeDirectory is passed on
    // (to let a test act as a second instance in that very moment).
    void setBeforeMakeDirectory(std::function<void(const std::string&)> hook);

    // --- What was asked
    std::int64_t createCalls() const;
    std::int64_t writeCalls() const;
    std::int64_t bytesWritten() const;
    std::int64_t dropCacheCalls() const;
    std::int64_t removeCalls() const;

    // BlockFiles
    std::unique_ptr<BlockFile> createExclusive(const std::string& path) override;
    std::unique_ptr<BlockFile> openExisting(const std::string& path) override;
    ReadResult readFile(const std::string& path, void* buffer, std::size_t bytes) override;
    bool removeFile(const std::string& path) override;
    DirResult makeDirectory(const std::string& path) override;
    bool removeDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    std::unique_ptr<FileLock> lockFile(const std::string& path) override;
    bool syncFile(const std::string& path) override;
    bool replaceFile(const std::string& path, const std::string& contents) override;

private:
    class File;
    friend class File;
    std::size_t write(BlockFile& real, std::int64_t offset, const void* data, std::size_t bytes);
    void dropCache(BlockFile& real, std::int64_t offset, std::int64_t length);

    BlockFiles& m_real;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_failCreates = false;
    int m_failNextCreates = 0;
    std::optional<std::int64_t> m_spaceLeft;
    bool m_holding = false;
    std::optional<std::chrono::steady_clock::time_point> m_holdUntil;
    int m_heldWriters = 0;
    bool m_failLocks = false;
    AbortPoint m_abortPoint = AbortPoint::Read;
    int m_callsBeforeAbort = 0;        // 0: never
    void abortIfDue(AbortPoint point); // under m_mutex
    std::string m_refusedBase;
    bool m_throwFromRemove = false;
    std::function<void(const std::string&)> m_beforeMakeDirectory;
    std::int64_t m_createCalls = 0;
    std::int64_t m_writeCalls = 0;
    std::int64_t m_bytesWritten = 0;
    std::int64_t m_dropCacheCalls = 0;
    std::int64_t m_removeCalls = 0;
};

} // namespace sorvella
