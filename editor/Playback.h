#pragma once

#include "core/RecException.h"
#include "editor/EditMode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace sorvella {

class PlaybackEvents;
class RingStore;
class WaveformMapping;
struct WaveFormat;

// The editor's playback as its document drives it (EditorPlayer behind an
// adapter in the program, a recording fake in tests). Window thread.
class Playback {
public:
    virtual ~Playback() = default;

    // Answer whether a play thread runs afterwards.
    virtual bool pressPlay(EditMode mode, bool playFaded, std::int32_t timingProfile) = 0;
    virtual bool playAt(int x, bool playFaded, std::int32_t timingProfile) = 0;
    virtual void modeChangedToPlay() = 0;
    virtual void stopPlayback() = 0;
    // After the thread reported its end: what ended it, if it failed.
    virtual std::optional<RecException> finish() = 0;
    virtual bool playing() const = 0;
    virtual std::int64_t playPosition() const = 0;
};

// Makes the playback of an editor's store; events go to the editor's window.
using PlaybackFactory = std::function<std::unique_ptr<Playback>(
    RingStore& store, const WaveFormat& format, const WaveformMapping& mapping,
    PlaybackEvents& events)>;

} // namespace sorvella
