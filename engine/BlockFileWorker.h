#pragma once

#include "core/RecException.h"
#include "platform/files/BlockFiles.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace sorvella {

// A block file as the session hands it out.
struct NewBlockFile {
    std::string name;                  // empty: there is no session directory
    std::uint64_t index = 0;           // its number in the directory
    std::unique_ptr<BlockFile> handle; // null: it could not be created
};

// Does the block files' slow file system work on a thread of its own: it keeps
// a few empty block files created ahead of need, and deletes released ones.
// On ext4, finding a free inode after many deletions or freeing the extents of
// a written file can take a few tenths of a millisecond per file; neither the
// device callback nor a running save should wait for that.
//
// The thread is woken to make files only when the spares have fallen to
// kRefillAt, and then makes them up to kSpares in one go, so that whoever
// takes files wakes it once per few files: on a virtual machine each wake-up
// cost the waker some 25 microseconds.
//
// Every kSyncInterval at the latest it also runs the periodic duty it was
// given (flushing the recording and its journal to the disk), so that a power
// cut loses at most that much.
//
// Threads: every operation may be called from any thread. Only takeSpare
// (for a creation in progress), drain, discardSpares and the destructor wait
// for file system work.
class BlockFileWorker {
public:
    static constexpr std::size_t kSpares = 8;
    static constexpr std::size_t kRefillAt = kSpares / 2;
    static constexpr std::chrono::milliseconds kSyncInterval{2000};

    // `make` creates the next file in the current session directory; it runs
    // on the worker thread. `removed` runs there after each queued file is
    // deleted (not when the unlink fails). `periodic` runs there at least
    // every kSyncInterval.
    BlockFileWorker(BlockFiles& files, std::function<NewBlockFile()> make,
                    std::function<void()> removed, std::function<void()> periodic);
    // Finishes the queued deletions, then deletes the spare files.
    ~BlockFileWorker();
    BlockFileWorker(const BlockFileWorker&) = delete;
    BlockFileWorker& operator=(const BlockFileWorker&) = delete;

    // The oldest spare file, or one with a null handle when none is ready and
    // none is being made. Waits only for a creation in progress. Throws, as
    // RecException, the first exception the file thread met since the last
    // call: the thread itself goes on, and the taker can report it.
    NewBlockFile takeSpare();
    // Asks for the spares to be made up to kSpares once no more than
    // kRefillAt are left. A failed creation stops the making until the next
    // call, so a full disk is not retried in a loop.
    void topUp();
    // Queues a file for deletion.
    void remove(std::string name);

    // Waits until the queued deletions are done and the spares asked for are
    // made (or failed).
    void drain();
    // Deletes the spare files (after a creation in progress) and makes no more
    // until topUp is called again. Their names were never handed out.
    void discardSpares();
    std::size_t spareCount() const;

private:
    void run();
    bool wantsSpare() const; // under m_mutex
    bool idle() const;       // under m_mutex
    void deleteSpares(std::deque<NewBlockFile> spares);
    // Runs file system work on the thread, without m_mutex; an exception
    // from it is kept for takeSpare.
    void attempt(const std::function<void()>& work);

    BlockFiles& m_files;
    std::function<NewBlockFile()> m_make;
    std::function<void()> m_removed;
    std::function<void()> m_periodic;

    mutable std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_idle;
    std::deque<NewBlockFile> m_spares;
    std::deque<std::string> m_removals;
    bool m_refill = false; // making spares until there are kSpares
    bool m_busy = false;   // the thread is in a file system call
    bool m_making = false; // ... creating a spare
    bool m_stopping = false;
    RecException m_failure; // kind None: no failure kept
    std::thread m_thread;   // last: starts once the members above exist
};

} // namespace sorvella
