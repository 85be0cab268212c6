#pragma once

#include "control/MainView.h"

#include <vector>

namespace sorvella {

struct SegmentColour {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const SegmentColour&, const SegmentColour&) = default;
};

// A level meter is a row of segments, each kSegmentWidth pixels wide with a
// kSegmentGap gap after it, across the meter's inner width.
constexpr int kSegmentWidth = 3;
constexpr int kSegmentGap = 1;

// The colours of the segments from left to right, for a meter of
// `innerWidth` pixels and the range 0..kMeterRange. Lit segments run from
// green through yellow to red; unlit ones are grey (lighter without a value)
// and bluish below the marker; an inactive meter is dimmed to half. A
// full-scale value lights every segment.
std::vector<SegmentColour> meterSegments(int innerWidth, const MeterReading& reading);

} // namespace sorvella
