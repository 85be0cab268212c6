#pragma once

#include "core/RecException.h"
#include "core/WaveFormat.h"
#include "editor/EditMode.h"
#include "platform/audio/WaveOut.h"
#include "platform/system/ThreadPriority.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sorvella {

class PlaybackEvents;
class PlayPacing;
class RingStore;
class WaveformMapping;

// The editor's playback: a thread of its own streams the store in 32 KiB
// pieces through five buffers of the default output, follows jumps made while
// it plays, reports the cursor column and stops at the end position, on
// request, or on a device failure.
//
// Threads: every member function is called on the window thread. The play
// thread reads the store (which no longer records), the mapping's pixelOf,
// selection and fades, and the shared play values, all without a lock; it
// talks back only through PlaybackEvents.
class EditorPlayer {
public:
    static constexpr std::int32_t kPieceBytes = 32768;
    static constexpr int kBufferCount = 5;
    // What is queued ahead of what is heard; the play time subtracts it.
    static constexpr std::int64_t kQueuedAheadBytes = kPieceBytes * kBufferCount;

    EditorPlayer(RingStore& store, const WaveFormat& format, const WaveformMapping& mapping,
                 WaveOutSystem& output, PlaybackEvents& events);
    // Stops and joins a running thread; nothing is posted afterwards.
    ~EditorPlayer();

    EditorPlayer(const EditorPlayer&) = delete;
    EditorPlayer& operator=(const EditorPlayer&) = delete;

    // The "Play" button and the second half of a click in "L" or "R": starts
    // or (in "P" while playing) stops, as the mode says. `timingProfile` 2
    // plays above normal priority. Answers whether a thread runs afterwards.
    // Throws RecException when the system cannot start a thread; device
    // failures come from finish().
    bool pressPlay(EditMode mode, bool playFaded, std::int32_t timingProfile);
    // A click in "P" at view column x: jumps a running thread there, or
    // starts one. Answers whether a thread runs afterwards.
    bool playAt(int x, bool playFaded, std::int32_t timingProfile);
    // "L"/"R" back to "P": a playback started for an end runs on to the end.
    void modeChangedToPlay();
    // "PlayFaded": a running thread fades the pieces it queues from now on.
    void setPlayFaded(bool playFaded);

    // Asks the thread to stop and joins it; a later "Play" in "P" continues
    // near where it stopped. The error, if any, is kept for finish().
    void stopPlayback();
    // After PlaybackEvents::playbackEnded: joins the ended thread and hands
    // over the failure that ended it, if any (to be shown by the window).
    std::optional<RecException> finish();

    bool playing() const;
    // The next position the thread queues (for the play time and the "P"
    // zoom centre); -1 while a stop is requested.
    std::int64_t playPosition() const;
    // Where playback stops; -1 for the end of the store.
    std::int64_t playEnd() const;

private:
    // What the wait for a free buffer ends in.
    enum class Next { Fill, Jump, End };

    // "P" when no thread runs: from where the last playback stopped (the
    // start after the end of the store), or the selection with its fades.
    void preparePlayFromStop();
    void start(std::int32_t timingProfile);
    // Wakes the thread out of its 10 ms wait: it stops or jumps at once.
    void wake();

    // The play thread's body and its parts.
    void playLoop(ThreadPriority priority);
    void stream(WaveOut& device);
    Next awaitBuffer(WaveOut& device, std::int64_t piece, std::int64_t end, std::int64_t expected,
                     PlayPacing& pacing, PlayBuffer*& chosen);
    void fill(PlayBuffer& buffer, const std::uint8_t* data, std::int64_t from, std::int32_t length,
              std::int64_t end) const;
    // Sleeps for `limit` unless the window thread wakes it.
    void pause(std::chrono::steady_clock::duration limit);

    RingStore& m_store;
    const WaveFormat m_format;
    const WaveformMapping& m_mapping;
    WaveOutSystem& m_output;
    PlaybackEvents& m_events;

    // Only the running thread uses them; allocated once for every playback.
    std::vector<PlayBuffer> m_buffers;

    // Written by the window thread; the play thread moves the position on by
    // compare-and-swap only, so a jump or a stop request (-1) is never lost.
    std::atomic<std::int64_t> m_playPosition{0};
    std::atomic<std::int64_t> m_playEnd{-1};
    std::atomic<bool> m_playFaded{false};
    // From the start of a thread until it has cleaned up and is about to
    // report its end.
    std::atomic<bool> m_running{false};

    std::mutex m_wakeMutex;
    std::condition_variable m_wakeUp;
    bool m_woken = false; // guarded by m_wakeMutex

    std::thread m_thread;
    // The failure that ended a thread: written by it before m_running falls,
    // read by the window thread only after joining it.
    std::optional<RecException> m_error;
};

} // namespace sorvella
