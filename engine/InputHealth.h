#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace sorvella {

// How the input has fared lately: dropouts, a lost device, digital silence
// and clipping. The device callback thread keeps it (cheaply, in atomics,
// allocating nothing); the main thread reads it at its tick.
class InputHealth {
public:
    // The sound looked at for clipping, and the share of it that may clip.
    static constexpr std::int64_t kClipWindowSeconds = 10;
    static constexpr std::int64_t kClipPercent = 1;

    struct Reading {
        std::int64_t dropouts = 0;
        std::int64_t lastDropoutTime = 0;     // calendar seconds
        std::int64_t lastDropoutPosition = 0; // bytes into the recording
        bool deviceLost = false;
        std::int64_t silentBytes = 0; // the digital silence that ends the sound so far
        bool clipping = false;        // in more than kClipPercent of the window
    };

    // `bytesPerSecond` of the recording format.
    explicit InputHealth(std::int64_t bytesPerSecond);

    // Callback thread: the next piece of 16-bit sound.
    void scan(const std::uint8_t* bytes, std::uint32_t count) noexcept;
    // Any thread: sound was lost `count` times, the latest before `position`.
    void countDropouts(std::int64_t count, std::int64_t position, std::int64_t time) noexcept;
    // The device went away at `time`; its return counts the gap as a dropout
    // at `position`.
    void deviceLost(std::int64_t time) noexcept;
    void deviceBack(std::int64_t position) noexcept;

    Reading reading() const noexcept;

private:
    static constexpr std::size_t kBins = kClipWindowSeconds;

    void closeBin() noexcept;

    // Callback thread only: a second of sound per bin, the current one last.
    std::array<std::int64_t, kBins> m_clippedBins{};
    std::array<std::int64_t, kBins> m_sampleBins{};
    std::size_t m_bin = 0;
    const std::int64_t m_samplesPerBin;

    std::atomic<std::int64_t> m_dropouts{0};
    std::atomic<std::int64_t> m_lastDropoutTime{0};
    std::atomic<std::int64_t> m_lastDropoutPosition{0};
    std::atomic<std::int64_t> m_lostSince{0}; // 0: the device is there
    std::atomic<std::int64_t> m_silentSamples{0};
    std::atomic<std::int64_t> m_windowClipped{0};
    std::atomic<std::int64_t> m_windowSamples{0};
};

} // namespace sorvella
