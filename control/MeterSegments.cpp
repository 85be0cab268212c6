#include "control/MeterSegments.h"

#include <algorithm>
#include <cstdint>

namespace sorvella {

std::vector<SegmentColour> meterSegments(int innerWidth, const MeterReading& reading)
{
    const std::int64_t n = innerWidth / (kSegmentWidth + kSegmentGap);
    std::vector<SegmentColour> segments;
    if (n <= 0) {
        return segments;
    }
    const std::int64_t range = kMeterRange;
    const std::int64_t level = reading.value < 0 ? -1 : std::int64_t{reading.value} * 100;
    const std::int64_t marker = reading.marker < 0 ? -1 : std::int64_t{reading.marker} * 100;
    segments.reserve(static_cast<std::size_t>(n));
    for (std::int64_t i = 0; i < n; ++i) {
        // Segment i lights from its share of the scale minus one percent, so
        // that the last one lights at full scale.
        const std::int64_t threshold = ((i + 1) * 100 / n - 1) * range;
        SegmentColour colour;
        if (level >= 0 && level >= threshold) {
            colour.red = static_cast<int>(std::min<std::int64_t>(i * 510 / n, 255));
            colour.green =
                static_cast<int>(std::clamp<std::int64_t>((n - 1 - i) * 510 / n, 0, 255));
        } else {
            const int grey = level >= 0 ? 150 : 176;
            const bool belowMarker = marker > 0 && threshold < marker;
            colour = {grey, grey, belowMarker ? 255 : grey};
        }
        if (!reading.active) {
            colour = {colour.red / 2, colour.green / 2, colour.blue / 2};
        }
        segments.push_back(colour);
    }
    return segments;
}

} // namespace sorvella
