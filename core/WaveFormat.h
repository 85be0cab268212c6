#pragma once

#include <cstdint>
#include <vector>

namespace sorvella {

constexpr std::uint16_t kWaveFormatPcm = 1;

// The audio format record: the recording format (16-bit PCM) and every
// codec's output format. `extra` holds the cbSize bytes of codec data.
struct WaveFormat {
    std::uint16_t formatTag = kWaveFormatPcm;
    std::uint16_t channels = 2;
    std::uint32_t samplesPerSec = 44100;
    std::uint32_t avgBytesPerSec = 176400;
    std::uint16_t blockAlign = 4;
    std::uint16_t bitsPerSample = 16;
    std::vector<std::uint8_t> extra;

    std::uint16_t cbSize() const { return static_cast<std::uint16_t>(extra.size()); }

    // Recomputes the two derived fields from channels, rate and sample size.
    void deriveFields()
    {
        avgBytesPerSec = channels * (samplesPerSec * bitsPerSample / 8);
        blockAlign = static_cast<std::uint16_t>(channels * (bitsPerSample / 8));
    }

    friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};

} // namespace sorvella
