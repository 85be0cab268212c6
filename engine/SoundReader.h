#pragma once

#include "core/RecException.h"
#include "core/Settings.h"
#include "engine/InputHealth.h"
#include "engine/ReaderSetup.h"
#include "engine/RecordingOwner.h"
#include "engine/RingStore.h"
#include "platform/audio/WaveIn.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sorvella {

class TempSession;

// Records from one capture device without pause into a RingStore it owns, for
// exactly as long as one recording runs. A fixed set of kernel buffers
// circulates: the device fills them, its callback thread appends each to the
// store, trims the store to the owner's keep limit and raises the peaks, and
// the reader thread hands the emptied buffers back to the device.
//
// Overruns and a device that goes away never stop the recording: they are
// counted in health(), and reopenDevice() resumes a lost input into the same
// store.
//
// Threads: the constructor, stop, shutDown, reopenDevice, detachStore,
// snapshotStore and the status queries run on the main thread; takePeaks,
// health, claimPendingError and clearPendingError may run on any thread.
// The store pointer changes only once the device has handed over its last
// buffer, so the callback uses it without a lock and a snapshot never waits
// for an append. Locks, outermost first: the store's own lock, the session's
// block lock; the list lock is never held with another.
class SoundReader : private WaveInClient {
public:
    enum State : std::int32_t { Running = 0, StopRequested = 1, Stopping = 2, Stopped = 3 };

    static constexpr const char* kDefaultDeviceName = "Default Audio Device";
    static constexpr const char* kOpenError = "Error opening wave in-device";
    static constexpr const char* kAllocateError = "Error allocating memory for Wave-In Device";
    static constexpr const char* kStartError = "Error Starting recording";
    static constexpr const char* kAddBufferPanic = "Panic: Add Kernelbuffer failed";
    static constexpr const char* kStopError = "Stopping sound-input failed...";
    // How long stop and shutDown each wait for the buffers to come back.
    static constexpr std::chrono::seconds kStopLimit{5};
    // While the disk is full, how often a buffer tries the store again.
    static constexpr std::chrono::seconds kDiskFullRetry{1};

    // Opens the device of "Sound Card" (the default device when that index is
    // not in the list), queues the kernel buffers, creates the store and
    // starts recording. Throws RecException kind 2 with kOpenError (with the
    // device's own message as its cause; also for a rate no device records),
    // kAllocateError or kStartError; nothing is left open then. `owner` and
    // `session` must outlive the reader.
    SoundReader(RecordingOwner& owner, const Settings& settings, WaveInSystem& waveIn,
                TempSession& session);
    // Shuts the reader down if that has not happened (after telling the owner,
    // if it was still recording), then deletes a store still attached.
    ~SoundReader() override;
    SoundReader(const SoundReader&) = delete;
    SoundReader& operator=(const SoundReader&) = delete;

    // Stops recording. Every buffer the device had filled is appended before
    // this returns; a partly filled one is dropped. Then the store is told
    // that recording has ended. When the appends are not done within
    // kStopLimit (a stalled disk), tells kStopError and returns: the store
    // keeps what was appended, and no later buffer is appended. Does nothing
    // unless the reader is running.
    void stop();

    // stop, then closes the device and ends the reader thread. Warns through
    // the owner when buffers did not come back. The reader only waits to be
    // deleted afterwards.
    void shutDown();

    // The store, now the caller's; the reader holds none afterwards. Meant
    // for after stop; only shutDown and deletion may follow. When an append
    // may still be running (no stop, or a stop that gave up), a snapshot of
    // what was appended instead: the reader keeps the store for that append.
    std::unique_ptr<RingStore> detachStore();
    // A copy sharing the store's block files while recording goes on. Null
    // once the store was detached.
    std::unique_ptr<RingStore> snapshotStore();
    // The attached store without locking (status queries; the store guards
    // itself); null once detached.
    RingStore* store() const { return m_store.get(); }

    std::int64_t heldBytes() const;
    std::int64_t recordedSeconds() const;
    std::int64_t totalSeconds() const;

    // A full disk pauses the recording: what the store holds stays, the
    // buffers that come meanwhile are counted instead of stored, and one of
    // them tries the store again every kDiskFullRetry; recording goes on by
    // itself once one fits. In loop mode the oldest block gives its room
    // first. True while paused.
    bool diskFull() const { return m_diskFull.load(); }
    // The sound that came while the disk was full, in whole seconds.
    std::int64_t unstoredSeconds() const;

    // The largest absolute sample of each channel since the last call; -1
    // when no buffer came in between. A mono recording gives both the same.
    void takePeaks(std::int32_t& left, std::int32_t& right);

    // Dropouts, the device's loss, silence and clipping of this recording.
    InputHealth::Reading health() const { return m_health.reading(); }

    // While health() says the device is lost: closes it and opens the input
    // again, to record on into the same store. False while it is missing.
    bool reopenDevice();
    // Why the device was lost last, for the user.
    std::string deviceLossReason() const;

    // The last error of the recording (store failures, refused buffers) for the
    // main window: when one waits, marks it as being shown (kind 4, which no
    // later error overwrites) and returns it; otherwise returns kind 0.
    RecException claimPendingError();
    // The shown error is dealt with: the slot is empty again.
    void clearPendingError();

    State state() const { return static_cast<State>(m_state.load()); }
    const WaveFormat& format() const { return m_setup.format; }

    // Index 0: the default device; i >= 1: the name of device i - 1; an empty
    // text for an index that is not in the list.
    static std::string inputDeviceName(WaveInSystem& waveIn, std::int32_t index);

private:
    void allocateBuffers();
    void queueBuffers();
    bool closeDevice();
    void requeueLoop();
    void requeueLocked(WaveBuffer& buffer);
    bool waitForStopped();
    void appendToStore(const WaveBuffer& buffer) noexcept;
    void pauseForSpace(std::int64_t unstored, bool loop,
                       std::chrono::steady_clock::time_point now) noexcept;
    void raisePeaks(const WaveBuffer& buffer) noexcept;
    void park(const RecException& error) noexcept;

    // WaveInClient, on the device's callback thread.
    void bufferFilled(WaveBuffer& buffer) noexcept override;
    void soundLost(std::int64_t count, std::int64_t position) noexcept override;
    void inputFault(const RecException& fault) noexcept override;

    RecordingOwner& m_owner;
    const ReaderSetup m_setup;
    WaveInSystem& m_waveIn;
    int m_deviceNumber = WaveInSystem::kDefaultDevice;
    // The store's total bytes when the current device started: its byte
    // positions count from there. Set while no device runs.
    std::int64_t m_streamBase = 0;
    InputHealth m_health;

    mutable std::mutex m_pendingLock;
    RecException m_pendingError;
    std::string m_lossReason;

    std::atomic<std::int32_t> m_peakRight{0};
    std::atomic<std::int32_t> m_peakLeft{0};
    std::atomic<std::int32_t> m_preparedCount{0}; // buffers in circulation
    std::atomic<std::int32_t> m_queuedCount{0};   // buffers the device holds
    std::atomic<std::int32_t> m_state{Running};

    std::mutex m_listLock; // m_returnedBuffers, m_endRequeue, state changes
    std::condition_variable m_bufferReady;
    std::condition_variable m_stopped;
    std::vector<WaveBuffer*> m_returnedBuffers; // capacity for every buffer: never allocates
    bool m_endRequeue = false;
    // The device failed: returned buffers wait for the next one. Changed
    // under the list lock.
    std::atomic<bool> m_deviceDown{false};

    std::unique_ptr<RingStore> m_store;
    bool m_drained = false;                  // stop saw the device's last buffer appended
    std::atomic<bool> m_appendsEnded{false}; // stop gave up waiting for an append
    std::atomic<bool> m_diskFull{false};
    std::atomic<std::int64_t> m_unstoredBytes{0};
    // Callback thread only: when a paused recording tries the store again,
    // and whether a block was dropped for room since the last append fitted.
    std::chrono::steady_clock::time_point m_nextAppendTry{};
    bool m_droppedForRoom = false;

    std::vector<WaveBuffer> m_buffers;
    // After everything its callbacks touch, so it closes first. Null while a
    // lost device has not come back.
    std::unique_ptr<WaveIn> m_device;
    std::thread m_requeueThread;
    bool m_shutDown = false;
};

} // namespace sorvella
