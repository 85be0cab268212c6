#include "engine/InputHealth.h"

#include "core/LittleEndian.h"

#include <algorithm>
#include <numeric>

namespace sorvella {

InputHealth::InputHealth(std::int64_t bytesPerSecond)
    : m_samplesPerBin(std::max<std::int64_t>(bytesPerSecond / 2, 1))
{
}

void InputHealth::scan(const std::uint8_t* bytes, std::uint32_t count) noexcept
{
    std::int64_t silent = m_silentSamples.load(std::memory_order_relaxed);
    const std::int64_t samples = count / 2;
    // A bin at a time, so that the inner loops have no branch and vectorise:
    // this runs for every buffer of a recording that may last for days.
    for (std::int64_t done = 0; done < samples;) {
        const std::int64_t n = std::min(samples - done, m_samplesPerBin - m_sampleBins[m_bin]);
        const std::uint8_t* piece = bytes + 2 * done;
        std::int64_t clipped = 0;
        for (std::int64_t i = 0; i < n; ++i) {
            const std::int16_t sample = le::sample(piece + 2 * i);
            // Full scale either way: the converter had nothing more to give.
            clipped += (sample >= 32767) | (sample <= -32767);
        }
        std::int64_t trailingZeros = 0;
        while (trailingZeros < n && le::sample(piece + 2 * (n - 1 - trailingZeros)) == 0) {
            ++trailingZeros;
        }
        silent = trailingZeros == n ? silent + n : trailingZeros;
        m_clippedBins[m_bin] += clipped;
        m_sampleBins[m_bin] += n;
        if (m_sampleBins[m_bin] >= m_samplesPerBin) {
            closeBin();
        }
        done += n;
    }
    m_silentSamples.store(silent, std::memory_order_relaxed);
    m_windowClipped.store(
        std::accumulate(m_clippedBins.begin(), m_clippedBins.end(), std::int64_t{0}),
        std::memory_order_relaxed);
    m_windowSamples.store(
        std::accumulate(m_sampleBins.begin(), m_sampleBins.end(), std::int64_t{0}),
        std::memory_order_relaxed);
}

// The oldest second leaves the window.
void InputHealth::closeBin() noexcept
{
    m_bin = (m_bin + 1) % kBins;
    m_clippedBins[m_bin] = 0;
    m_sampleBins[m_bin] = 0;
}

void InputHealth::countDropouts(std::int64_t count, std::int64_t position,
                                std::int64_t time) noexcept
{
    m_lastDropoutPosition.store(position);
    m_lastDropoutTime.store(time);
    m_dropouts.fetch_add(count);
}

void InputHealth::deviceLost(std::int64_t time) noexcept
{
    m_lostSince.store(std::max<std::int64_t>(time, 1));
}

void InputHealth::deviceBack(std::int64_t position) noexcept
{
    const std::int64_t since = m_lostSince.exchange(0);
    if (since != 0) {
        countDropouts(1, position, since);
    }
}

InputHealth::Reading InputHealth::reading() const noexcept
{
    Reading reading;
    reading.dropouts = m_dropouts.load();
    reading.lastDropoutTime = m_lastDropoutTime.load();
    reading.lastDropoutPosition = m_lastDropoutPosition.load();
    reading.deviceLost = m_lostSince.load() != 0;
    reading.silentBytes = 2 * m_silentSamples.load(std::memory_order_relaxed);
    const std::int64_t samples = m_windowSamples.load(std::memory_order_relaxed);
    reading.clipping = samples > 0 && m_windowClipped.load(std::memory_order_relaxed) * 100 >
                                          samples * kClipPercent;
    return reading;
}

} // namespace sorvella
