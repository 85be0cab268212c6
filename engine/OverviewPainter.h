#pragma once

#include <cstdint>

namespace sorvella {

struct OverviewColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const OverviewColour&, const OverviewColour&) = default;
};

// Where the waveform overview goes, in the painter's pixel coordinates.
struct OverviewRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What the overview shows: the visible byte range [from, to) of the store and
// the selection with its fade lengths (logical byte positions and lengths).
struct OverviewRequest {
    std::int64_t from = 0;
    std::int64_t to = 0;
    OverviewRect rect;
    std::int64_t selectionStart = 0;
    std::int64_t fadeIn = 0;
    std::int64_t selectionEnd = 0;
    std::int64_t fadeOut = 0;
};

// Receives the computed bars of the overview; a view paints them. `x` and
// `top` are absolute pixel coordinates (the rectangle's left/top included);
// each bar is one pixel wide and `height` pixels tall.
class OverviewPainter {
public:
    virtual ~OverviewPainter() = default;
    virtual void fillBar(int x, int top, int height, OverviewColour colour) = 0;
};

} // namespace sorvella
