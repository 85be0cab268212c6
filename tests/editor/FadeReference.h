#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace sorvella::test {

// What a faded, amplified selection should sound like, from the gain curve
// itself: the level times amplification / 100, rising linearly from 0 over
// the fade-in and falling linearly to 0 at the end over the fade-out.
struct FadeShape {
    std::int64_t start;
    std::int64_t end;
    std::int32_t fadeIn; // bytes, at least 1
    std::int32_t fadeOut;
    std::int32_t amplification;

    double gainAt(std::int64_t p) const
    {
        const double in = std::min(1.0, static_cast<double>(p - start) / fadeIn);
        const double out = std::min(1.0, static_cast<double>(end - p) / fadeOut);
        return amplification / 100.0 * in * out;
    }

    // The selection's samples, from the samples of the whole sound. Both
    // channels of a stereo frame get the frame's gain; mono samples go in
    // pairs, each pair with the gain of its 4-byte position.
    std::vector<double> expected(const std::vector<std::int16_t>& sound, int channels) const
    {
        std::vector<double> out;
        const std::int64_t frameBytes = 2 * channels;
        for (std::int64_t frame = start; frame < end; frame += frameBytes) {
            for (std::int64_t p = frame; p < frame + frameBytes; p += 2) {
                const double gain = gainAt(channels == 2 ? frame : p - p % 4);
                const double v = sound[static_cast<std::size_t>(p / 2)] * gain;
                out.push_back(std::clamp(v, -32768.0, 32767.0));
            }
        }
        return out;
    }
};

} // namespace sorvella::test
