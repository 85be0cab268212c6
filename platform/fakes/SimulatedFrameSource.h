#pragma once

#include "core/WaveFormat.h"
#include "platform/audio/FrameSource.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

namespace sorvella {

enum class SimulatedPace {
    RealTime,  // frames come in as the clock (times `speed`) runs
    Stepped,   // frames come in when the test steps them
    Unlimited, // every read gets all it asks for
};

// A deterministic test input shared by a test and the capture thread. Sample
// number k (counting every channel's samples since the signal was made) is
// `sample(k)`, by default the 16-bit counter k mod 65536, so continuity can
// be checked byte for byte. Test controls may be called from any thread.
class SimulatedSignal {
public:
    using SampleFunction = std::function<std::int16_t(std::uint64_t sampleNumber)>;

    struct Options {
        SimulatedPace pace = SimulatedPace::RealTime;
        double speed = 1.0; // RealTime: seconds of sound per second
        // RealTime: the sound the simulated hardware holds; frames not read
        // within it are lost (an overrun), as on a real card.
        std::chrono::milliseconds hardwareBuffer{500};
        SampleFunction sample; // empty: the counter
    };

    static std::int16_t counterSample(std::uint64_t sampleNumber)
    {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(sampleNumber & 0xFFFF));
    }

    explicit SimulatedSignal(Options options);
    SimulatedSignal() : SimulatedSignal(Options{}) {}

    // Stepped pace: `frames` more frames become available.
    void step(std::uint64_t frames);
    // No frame beyond the first `frames` ever comes (all paces).
    void endAfter(std::uint64_t frames);
    // Once `frames` frames were delivered, every read fails.
    void failAfter(std::uint64_t frames);
    // Reads deliver again after failAfter: the device came back.
    void endFailure();
    // The next read reports that sound was lost.
    void injectOverrun();
    // While set, starting fails.
    void failStarts(bool fail);

    std::uint64_t framesDelivered() const;
    std::int64_t overruns() const;

    // Capture thread, through SimulatedFrameSource.
    void begin(const WaveFormat& format);
    void end() noexcept;
    FrameSource::Chunk read(std::uint8_t* dest, std::size_t bytes, std::chrono::milliseconds wait);
    // Any thread.
    void interrupt() noexcept;

private:
    using Clock = std::chrono::steady_clock;

    std::uint64_t framesDue(Clock::time_point now) const;
    std::uint64_t lastFrame() const;
    Clock::time_point timeOfFrame(std::uint64_t frame) const;
    void generate(std::uint8_t* dest, std::uint64_t frames) const;

    const Options m_options;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint32_t m_rate = 44100;
    std::uint16_t m_channels = 2;
    bool m_running = false;
    Clock::time_point m_startTime;
    std::uint64_t m_framesAtStart = 0;
    std::uint64_t m_delivered = 0;
    std::uint64_t m_stepped = 0;
    std::optional<std::uint64_t> m_endAfter;
    std::optional<std::uint64_t> m_failAfter;
    bool m_overrunInjected = false;
    bool m_interrupted = false;
    bool m_failStarts = false;
    std::int64_t m_overruns = 0;
};

// The simulated device's frames: reads the shared signal in the format the
// device was opened with.
class SimulatedFrameSource : public FrameSource {
public:
    SimulatedFrameSource(SimulatedSignal& signal, const WaveFormat& format)
        : m_signal(signal), m_format(format)
    {
    }

    void start(std::size_t) override { m_signal.begin(m_format); }
    void stop() noexcept override { m_signal.end(); }
    Chunk read(std::uint8_t* dest, std::size_t bytes, std::chrono::milliseconds wait) override
    {
        return m_signal.read(dest, bytes, wait);
    }
    void interrupt() noexcept override { m_signal.interrupt(); }

private:
    SimulatedSignal& m_signal;
    const WaveFormat m_format;
};

} // namespace sorvella
