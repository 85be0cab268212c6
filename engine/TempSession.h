#pragma once

#include "core/Prompter.h"
#include "core/Settings.h"
#include "engine/BlockFileWorker.h"
#include "engine/JournalKeeper.h"
#include "platform/files/BlockFiles.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sorvella {

// The process's temporary session directory: <base>/Quillet-<n> with
// "lock.txt" held locked for the session and nine subdirectories "0".."8"
// for the block files. Hands out block file names and counts the files not
// yet deleted. It also holds what every store of the process shares: the
// block files layer, the block sequence counter and the block lock. Files are
// created ahead and deleted on the session's own file thread, which also
// flushes the journaled stores' blocks and journals to the disk.
//
// Threads: setUp and closeSession on the main thread; createBlockFile and
// releaseBlockFile also from the device callback and save threads.
class TempSession {
public:
    static constexpr int kSubdirectories = 9;

    // `settings` (tempDirectoryUseWindows, tempDirectory) is read at setUp.
    TempSession(const Settings& settings, BlockFiles& files);
    // Finishes the deletions asked for and releases the lock file; removes
    // no directory (closeSession does that).
    ~TempSession();
    TempSession(const TempSession&) = delete;
    TempSession& operator=(const TempSession&) = delete;

    // (Re)creates the session directory for the current settings: nothing
    // happens when the base directory is unchanged and has the session. A
    // directory is taken only when mkdir created it and its lock file is
    // held. A base that takes none (read-only, no permission, full) gives way
    // to the system's temporary directory; the result is then a notice for
    // the user that names both, else empty.
    std::string setUp();

    // A new, empty block file under a unique name, counted as outstanding:
    // one made ahead (waiting for one in the making), else created now. A
    // null handle (nothing counted) when it cannot be created. Throws
    // RecException with what the file thread failed on meanwhile.
    NewBlockFile createBlockFile();
    // Deletes a block file on the file thread; it stays outstanding until
    // it is gone. Never waits.
    void releaseBlockFile(std::string name);

    // A block file of an earlier run now held by a store: counted as
    // outstanding until it is deleted.
    void adoptBlockFile();
    // An earlier run's session directory, locked by `lock`, whose files
    // stores now hold: removed with this session's once they are gone.
    void adoptDirectory(std::string dir, std::unique_ptr<FileLock> lock);

    // Waits until the file thread has deleted what it was given and made the
    // files ahead that it was asked for.
    void finishFileWork();
    std::size_t filesMadeAhead() const;

    // Finishes the file work and deletes the files made ahead; then warns
    // through `prompter` when files are left, and removes the subdirectories,
    // the lock file and the session directory as far as they are empty (and
    // so the earlier directories that setUp left to the files held there).
    void closeSession(Prompter& prompter);

    // Whether a temporary directory named as the settings name it exists.
    bool directoryExists(const std::string& name) const;

    // Block files handed out and not yet deleted, once the deletions asked
    // for are done (waits for them).
    std::int64_t outstanding();
    std::string sessionDir() const;
    std::string baseDir() const;
    bool lockHeld() const;

    BlockFiles& files() const { return m_files; }
    JournalKeeper& journals() { return m_journals; }

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
    std::string existingDirectory(const std::string& name) const;
    // Removes a session directory as far as it is empty; the lock goes only
    // with the last subdirectory. False when block files are left.
    bool removeSessionDir(const std::string& dir, std::unique_ptr<FileLock>& lock);
    void removeSessionLocked();
    // Makes and locks the session directory in `base`; none when it fails.
    void makeSessionLocked(const std::string& base);
    // Creates the file of the next name in the session directory, uncounted.
    NewBlockFile makeFile();

    const Settings& m_settings;
    BlockFiles& m_files;
    mutable std::mutex m_mutex;
    std::uint64_t m_nameCounter = 0;
    std::unique_ptr<FileLock> m_lockFile;
    std::atomic<std::int64_t> m_outstanding{0};
    std::string m_sessionDir;
    std::string m_baseDir;
    std::string m_chosenBase; // what the settings asked for, before a fallback
    // Earlier session directories, still locked, whose block files are held
    // by stores (save or editor windows) after the session moved.
    struct RetiredSession {
        std::string dir;
        std::unique_ptr<FileLock> lock;
    };
    std::vector<RetiredSession> m_retired;

    mutable std::mutex m_blockLock;
    std::int64_t m_blockSequence = 0;

    JournalKeeper m_journals;
    BlockFileWorker m_worker; // last: its thread uses the members above
};

} // namespace sorvella
