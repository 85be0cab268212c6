#pragma once

#include "platform/audio/WaveOut.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <vector>

namespace sorvella {

// The sound output of tests. Its device plays queued buffers only as the
// test advances its clock, at the format's byte rate, and records what it was
// given and what was heard. Faults are injected on request. Controls may be
// called from any thread; one device is open at a time.
class FakeWaveOutSystem : public WaveOutSystem {
public:
    // While set, open fails.
    void failOpens(bool fail);
    // After `count` more writes succeed, the device is gone: the next write
    // and every later write or poll fails until it is closed.
    void failWritesAfter(int count);
    // Plays `elapsed` of the open device's queued sound, in whole frames.
    void advance(std::chrono::milliseconds elapsed);

    int openCount() const;
    bool isOpen() const;
    WaveFormat lastFormat() const;
    int resetCount() const;
    std::vector<std::uint8_t> written() const; // every byte written, in order
    std::vector<std::uint8_t> played() const;  // every byte heard, in order
    std::size_t queuedBuffers() const;         // written, not yet freed by poll or reset

    std::unique_ptr<WaveOut> open(const WaveFormat& format) override;

private:
    class Device;
    struct Queued {
        PlayBuffer* buffer;
        std::uint32_t playedBytes;
    };

    void write(PlayBuffer& buffer);
    void poll();
    void reset() noexcept;
    void close() noexcept;
    // These two with m_mutex held.
    void dropQueue() noexcept;
    void checkPresent();

    mutable std::mutex m_mutex;
    bool m_failOpens = false;
    int m_writesLeft = -1; // writes before the device is gone; -1 for ever
    bool m_gone = false;
    bool m_open = false;
    int m_openCount = 0;
    int m_resetCount = 0;
    WaveFormat m_format;
    std::deque<Queued> m_queue;
    std::vector<std::uint8_t> m_written;
    std::vector<std::uint8_t> m_played;
};

} // namespace sorvella
