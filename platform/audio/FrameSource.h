#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace sorvella {

// Where a BufferedWaveIn's frames come from: a sound card, or a simulated
// input in tests. Every operation but interrupt() runs on the capture thread
// only; the object is created on the control thread and destroyed after the
// capture thread has ended.
class FrameSource {
public:
    struct Chunk {
        std::size_t bytes = 0; // whole frames copied
        bool overrun = false;  // frames were lost before these (already recovered from)
    };

    virtual ~FrameSource() = default;

    // Begins capturing into buffers of `fillBytes` each (0: not known), so
    // that the source need not wake more often than a buffer fills. Throws
    // RecException when the input cannot start.
    virtual void start(std::size_t fillBytes) = 0;

    // Ends capturing; frames not yet read are dropped. Never throws.
    virtual void stop() noexcept = 0;

    // Waits at most `wait` for frames, then copies those available, up to
    // `bytes` (a whole number of frames), to `dest`. Returns 0 bytes when
    // none came in time. Allocates nothing. Throws RecException when the
    // input has failed for good.
    virtual Chunk read(std::uint8_t* dest, std::size_t bytes, std::chrono::milliseconds wait) = 0;

    // Any thread. Ends the wait of the read in progress, or of the next one,
    // at once, so that commands need not wait for sound. Never blocks.
    virtual void interrupt() noexcept = 0;
};

} // namespace sorvella
