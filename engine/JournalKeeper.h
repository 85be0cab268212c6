#pragma once

#include "core/WaveFormat.h"
#include "engine/StoreJournal.h"
#include "platform/files/BlockFiles.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace sorvella {

class RingStore;

// Keeps the journals of the stores that hold unsaved sound (the recording's,
// a running save's), so that a crash leaves enough on disk to find it again:
// each store's journal lies beside its block files as "journal-<n>.txt".
//
// Threads: add, remove and retarget from any thread (they never wait for the
// disk); writeAll on the session's file thread or a save's thread; removeAll
// on the main thread at the session's close.
class JournalKeeper {
public:
    explicit JournalKeeper(BlockFiles& files);
    JournalKeeper(const JournalKeeper&) = delete;
    JournalKeeper& operator=(const JournalKeeper&) = delete;

    // Journals `store` from the next pass on; `target` names the file a save
    // writes it to; `earlier` is a journal of the same blocks (an earlier
    // run's) that the first one written replaces. Returns the number to
    // remove it by.
    int add(const RingStore& store, const WaveFormat& format, std::string target,
            std::string earlier);
    // The store is going: its journal is deleted by the next pass.
    void remove(int serial);
    // From the next pass on, the journal names `target`.
    void retarget(int serial, std::string target);

    // Flushes the blocks written since the last pass to the disk, then each
    // journal that changed; deletes those of removed stores.
    void writeAll();
    // Deletes every journal file (a clean close).
    void removeAll();

private:
    struct Entry {
        int serial = 0;
        const RingStore* store = nullptr; // null once removed
        StoreJournal journal;             // format and target
        std::string earlier;
    };
    // A journal on disk; only the writer (under m_fileMutex) touches these.
    struct Written {
        int serial = 0;
        std::string path;
        std::string text;
        std::uint64_t syncedFrom = 0; // blocks from this number on may be unsynced
    };
    void write(Written& written, const StoreJournal& journal, const std::string& directory);
    void deleteFile(Written& written);

    BlockFiles& m_files;
    std::mutex m_mutex; // m_entries; never held for disk work
    std::vector<Entry> m_entries;
    int m_nextSerial = 1;
    // In every journal's name, so that an earlier run's journals, left in a
    // directory whose blocks this process took over, are never overwritten.
    const std::string m_namePrefix;
    std::mutex m_fileMutex; // m_written; held for a whole pass, taken before m_mutex
    std::vector<Written> m_written;
};

} // namespace sorvella
