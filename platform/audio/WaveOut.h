#pragma once

#include "core/RecException.h"
#include "core/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace sorvella {

// One playback buffer. The play thread allocates it once and writes it again
// and again; from write until it is free again the device reads its data, so
// the thread leaves data and length alone meanwhile.
struct PlayBuffer {
    explicit PlayBuffer(std::uint32_t capacity) : data(capacity) {}

    std::vector<std::uint8_t> data; // its size is the buffer's capacity
    std::uint32_t length = 0;       // bytes to play from the front: whole frames
    bool queued = false;            // written and neither played in full nor dropped yet
};

// An open playback device. No callback: one thread (the play thread) makes
// every call, from open to destruction, and polls the buffers' `queued`
// flags, which only these calls change. Destroying the object closes the
// device: sound still queued is dropped at once and no buffer is touched
// afterwards, so a thread that wants its sound heard waits until every
// buffer is free first.
class WaveOut {
public:
    virtual ~WaveOut() = default;

    // Queues the buffer's first `length` bytes behind everything written
    // before and marks it queued; sound starts with the first write and plays
    // on without gaps while buffers are queued in time. Never waits for sound
    // to be played. The buffer must be free. Throws RecException when the
    // device has failed (for instance, it was unplugged); every buffer is
    // then free, as after reset.
    virtual void write(PlayBuffer& buffer) = 0;

    // Frees every queued buffer whose sound has been played in full and
    // hands the device more of what is queued. Call it at least every 200 ms
    // while buffers are queued (more often to notice a free buffer sooner).
    // Never blocks. Throws RecException when the device has failed; every
    // buffer is then free, as after reset.
    virtual void poll() = 0;

    // Drops every queued sound at once: nothing more of it is heard, and all
    // buffers are free on return. The next write starts afresh. Never throws.
    virtual void reset() noexcept = 0;
};

// The system's default sound output.
class WaveOutSystem {
public:
    virtual ~WaveOutSystem() = default;

    // Any thread; the device is then used by that thread. Opens the default
    // output for exactly this 16-bit PCM format. Throws RecException kind 2
    // "Wave device busy: Cannot open Wave out" when there is no output, it is
    // held by another program, or it refuses the format.
    virtual std::unique_ptr<WaveOut> open(const WaveFormat& format) = 0;
};

// The text of every failed open, as the user sees it.
inline constexpr const char* kWaveOutBusy = "Wave device busy: Cannot open Wave out";

} // namespace sorvella
