#pragma once

#include "core/Prompter.h"
#include "core/Settings.h"
#include "platform/BlockFiles.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace sorvella {

// The process's temporary session directory: <base>/Quillet-<n> with
// "lock.txt" held locked for the session and nine subdirectories "0".."8"
// for the block files. Hands out block file names and counts the files not
// yet deleted. It also holds what every store of the process shares: the
// block files layer, the block sequence counter and the block lock.
//
// Threads: setUp and closeSession on the main thread; newFileName and
// fileDeleted also from the device callback and save threads. Each of them
// holds the session mutex for its whole run.
class TempSession {
public:
    static constexpr int kSubdirectories = 9;

    // `settings` (tempDirectoryUseWindows, tempDirectory) is read at setUp.
    TempSession(const Settings& settings, BlockFiles& files);
    // Releases the lock file; removes nothing (closeSession does that).
    ~TempSession();
    TempSession(const TempSession&) = delete;
    TempSession& operator=(const TempSession&) = delete;

    // (Re)creates the session directory for the current settings: nothing
    // happens when the base directory is unchanged and has the session. A directory is taken only
    // when mkdir created it and its lock file is held.
    void setUp();

    // A new unique path for a block file, counted as outstanding.
    std::string newFileName();
    // One temporary file fewer outstanding (deleted, or its name not used).
    void fileDeleted();

    // Warns through `prompter` when files are left, then removes the
    // subdirectories, the lock file and the session directory as far as
    // they are empty.
    void closeSession(Prompter& prompter);

    std::int64_t outstanding() const;
    std::string sessionDir() const;
    std::string baseDir() const;
    bool lockHeld() const;

    BlockFiles& files() const { return m_files; }

    // Process-wide block numbering (first block 1) and the lock guarding the
    // numbers and every block's share count.
    std::int64_t nextBlockNumber();
    std::mutex& blockLock() const { return m_blockLock; }

    // The base-36 name of file number v ("0000000A.tmp") and its subdirectory.
    static std::string fileNameFor(std::uint64_t v);
    static int subdirectoryFor(std::uint64_t v);

private:
    // The base directory the current settings ask for (with the fallbacks).
    std::string chooseBase() const;
    void removeSessionLocked();

    const Settings& m_settings;
    BlockFiles& m_files;
    mutable std::mutex m_mutex;
    std::uint64_t m_nameCounter = 0;
    std::unique_ptr<FileLock> m_lockFile;
    std::int64_t m_outstanding = 0;
    std::string m_sessionDir;
    std::string m_baseDir;

    mutable std::mutex m_blockLock;
    std::int64_t m_blockSequence = 0;
};

} // namespace sorvella
