#include "platform/fakes/SimulatedFrameSource.h"

#include "core/LittleEndian.h"
#include "core/RecException.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace sorvella {

SimulatedSignal::SimulatedSignal(Options options) : m_options(std::move(options)) {}

void SimulatedSignal::step(std::uint64_t frames)
{
    std::lock_guard lock(m_mutex);
    m_stepped += frames;
    m_changed.notify_all();
}

void SimulatedSignal::endAfter(std::uint64_t frames)
{
    std::lock_guard lock(m_mutex);
    m_endAfter = frames;
    m_changed.notify_all();
}

void SimulatedSignal::failAfter(std::uint64_t frames)
{
    std::lock_guard lock(m_mutex);
    m_failAfter = frames;
    m_changed.notify_all();
}

void SimulatedSignal::endFailure()
{
    std::lock_guard lock(m_mutex);
    m_failAfter.reset();
}

void SimulatedSignal::injectOverrun()
{
    std::lock_guard lock(m_mutex);
    m_overrunInjected = true;
    m_changed.notify_all();
}

void SimulatedSignal::failStarts(bool fail)
{
    std::lock_guard lock(m_mutex);
    m_failStarts = fail;
}

std::uint64_t SimulatedSignal::framesDelivered() const
{
    std::lock_guard lock(m_mutex);
    return m_delivered;
}

std::int64_t SimulatedSignal::overruns() const
{
    std::lock_guard lock(m_mutex);
    return m_overruns;
}

void SimulatedSignal::begin(const WaveFormat& format)
{
    std::lock_guard lock(m_mutex);
    if (m_failStarts) {
        throw RecException("Simulated input cannot start");
    }
    m_rate = std::max<std::uint32_t>(format.samplesPerSec, 1);
    m_channels = std::max<std::uint16_t>(format.channels, 1);
    m_running = true;
    m_startTime = Clock::now();
    m_framesAtStart = m_delivered;
}

void SimulatedSignal::end() noexcept
{
    std::lock_guard lock(m_mutex);
    m_running = false;
}

std::uint64_t SimulatedSignal::lastFrame() const
{
    std::uint64_t last = std::numeric_limits<std::uint64_t>::max();
    if (m_endAfter) {
        last = std::min(last, *m_endAfter);
    }
    if (m_failAfter) {
        last = std::min(last, *m_failAfter);
    }
    return last;
}

// Frames that have come in so far, counted from the signal's start.
std::uint64_t SimulatedSignal::framesDue(Clock::time_point now) const
{
    std::uint64_t due = m_delivered;
    switch (m_options.pace) {
    case SimulatedPace::RealTime:
        if (m_running) {
            const double seconds = std::chrono::duration<double>(now - m_startTime).count();
            due = m_framesAtStart + static_cast<std::uint64_t>(seconds * m_rate * m_options.speed);
        }
        break;
    case SimulatedPace::Stepped:
        due = m_stepped;
        break;
    case SimulatedPace::Unlimited:
        due = std::numeric_limits<std::uint64_t>::max();
        break;
    }
    return std::min(due, lastFrame());
}

SimulatedSignal::Clock::time_point SimulatedSignal::timeOfFrame(std::uint64_t frame) const
{
    const double seconds =
        static_cast<double>(frame - m_framesAtStart) / (m_rate * m_options.speed);
    return m_startTime +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void SimulatedSignal::generate(std::uint8_t* dest, std::uint64_t frames) const
{
    const std::uint64_t first = m_delivered * m_channels;
    const std::uint64_t count = frames * m_channels;
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto value = static_cast<std::uint16_t>(m_options.sample ? m_options.sample(first + i)
                                                                       : counterSample(first + i));
        le::write(dest + 2 * i, value, 2);
    }
}

void SimulatedSignal::interrupt() noexcept
{
    std::lock_guard lock(m_mutex);
    m_interrupted = true;
    m_changed.notify_all();
}

FrameSource::Chunk SimulatedSignal::read(std::uint8_t* dest, std::size_t bytes,
                                         std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_mutex);
    const auto deadline = Clock::now() + wait;
    const std::uint64_t frameBytes = 2u * m_channels;
    const std::uint64_t wanted = bytes / frameBytes;
    const bool realTime = m_options.pace == SimulatedPace::RealTime;
    // Like a card's period: a real-time read waits for 10 ms of sound.
    const std::uint64_t enough = std::clamp<std::uint64_t>(realTime ? m_rate / 100 : 1, 1,
                                                           std::max<std::uint64_t>(wanted, 1));
    bool overrun = false;
    std::uint64_t ready = 0;
    for (;;) {
        if (m_failAfter && m_delivered >= *m_failAfter) {
            throw RecException("Simulated input failure");
        }
        const auto now = Clock::now();
        const std::uint64_t due = framesDue(now);
        ready = due > m_delivered ? due - m_delivered : 0;
        const std::uint64_t held =
            static_cast<std::uint64_t>(m_rate) * m_options.hardwareBuffer.count() / 1000;
        if (realTime && ready > held) {
            m_delivered = due - held;
            ready = held;
            overrun = true;
        }
        // Lost sound is reported at once, as ALSA does.
        overrun = std::exchange(m_overrunInjected, false) || overrun;
        if (ready >= enough || overrun || now >= deadline || std::exchange(m_interrupted, false)) {
            break;
        }
        auto wake = deadline;
        if (realTime && m_running && m_delivered + enough <= lastFrame()) {
            wake = std::min(deadline, timeOfFrame(m_delivered + enough));
        }
        m_changed.wait_until(lock, wake);
    }
    if (overrun) {
        ++m_overruns;
    }
    const std::uint64_t frames = std::min(ready, wanted);
    generate(dest, frames);
    m_delivered += frames;
    return {static_cast<std::size_t>(frames * frameBytes), overrun};
}

} // namespace sorvella
