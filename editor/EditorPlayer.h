#pragma once

#include "core/RecException.h"
#include "core/WaveFormat.h"
#include "editor/EditMode.h"

#include <cstdint>
#include <optional>

namespace sorvella {

class PlaybackEvents;
class RingStore;
class WaveOutSystem;
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
    bool pressPlay(EditMode mode, bool playFaded, std::int32_t timingProfile);
    // A click in "P" at view column x: jumps a running thread there, or
    // starts one. Answers whether a thread runs afterwards.
    bool playAt(int x, bool playFaded, std::int32_t timingProfile);
    // "L"/"R" back to "P": a playback started for an end runs on to the end.
    void modeChangedToPlay();

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
};

} // namespace sorvella
