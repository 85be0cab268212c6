#pragma once

#include "core/Settings.h"
#include "engine/LeftRecording.h"
#include "engine/RingStore.h"
#include "platform/files/BlockFiles.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace sorvella {

class TempSession;

// Finds what runs that died left in the temporary base: session directories
// whose lock nobody holds (a live instance holds its own, so its directory is
// never touched, and of two instances starting together only one gets each).
// Directories of other users are not ours to open (mode 0700) and are passed
// over. A directory with nothing recoverable is removed; one whose sound
// cannot be recovered is left as it is and said so. A save that was running
// has its target renamed as a failed save's is, and the blocks it had not
// consumed become a recording of their own (taken from the recording that
// shared them, so that no block belongs to two).
//
// Threads: the main thread; the file work is a few small files per directory.
class CrashRecovery {
public:
    // `keepCutSave` renames a save's cut target to its incomplete name and
    // returns that name.
    using KeepCutSave = std::function<std::string(const std::string& target)>;
    CrashRecovery(const Settings& settings, TempSession& session, KeepCutSave keepCutSave);
    // Lets go of the directories still held (Keep for later).
    ~CrashRecovery();
    CrashRecovery(const CrashRecovery&) = delete;
    CrashRecovery& operator=(const CrashRecovery&) = delete;

    // Scans the session's base directory; the recordings found are held
    // (their directories locked) until taken, discarded or kept.
    void scan();

    const std::vector<LeftRecording>& recordings() const { return m_recordings; }
    // Directories that hold sound no journal describes, for the user.
    const std::vector<std::string>& unreadable() const { return m_unreadable; }

    // Recording `i` as a store of this session that no longer records (and
    // is journaled again): it owns the block files from now on.
    std::unique_ptr<RingStore> take(std::size_t i);
    // Deletes recording `i`'s block files and journal.
    void discard(std::size_t i);

private:
    struct Held {
        std::string dir;
        std::unique_ptr<FileLock> lock;
        int open = 0;                // recordings neither taken nor discarded
        std::set<std::string> named; // block files the recordings hold
    };
    void examine(const std::string& dir);
    // Renames the target of a save that was cut short, once.
    void keepCutSave(LeftRecording& left);
    void settle(std::size_t i);

    const Settings& m_settings;
    TempSession& m_session;
    KeepCutSave m_keepCutSave;
    std::vector<Held> m_held;
    std::vector<LeftRecording> m_recordings;
    std::vector<std::size_t> m_heldOf; // recording -> its entry in m_held
    std::vector<bool> m_settled;
    std::vector<std::string> m_unreadable;
};

} // namespace sorvella
