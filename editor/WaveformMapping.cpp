#include "editor/WaveformMapping.h"

#include <algorithm>
#include <cstdlib>

namespace sorvella {
namespace {

// zoomIn and zoomAt halve only ranges of at least 4 times this.
constexpr std::int64_t kNarrowestQuarter = 25000;
constexpr int kRightOfView = 65535;
// A thumb wider than this fills the bar: the whole store is as good as shown.
constexpr std::int64_t kWidestPage = 29000;

// Rounds towards zero to a whole 16-bit stereo frame.
std::int64_t wholeFrames(std::int64_t bytes)
{
    return bytes - bytes % 4;
}

} // namespace

WaveformMapping::WaveformMapping(std::int64_t heldBytes)
    : m_heldBytes(heldBytes), m_viewEnd(heldBytes), m_selectionEnd(heldBytes)
{
}

int WaveformMapping::pixelOf(std::int64_t position) const
{
    const std::int64_t start = m_viewStart;
    const std::int64_t span = std::max<std::int64_t>(m_viewEnd - start, 1);
    const std::int64_t width = std::max(m_width.load(), 1);
    const std::int64_t x = width * (position - start) / span;
    if (x == width || x == width + 1) {
        return static_cast<int>(width - 1);
    }
    if (x < 0) {
        return -1;
    }
    return x < width ? static_cast<int>(x) : kRightOfView;
}

std::int64_t WaveformMapping::positionAt(int x) const
{
    const std::int64_t start = m_viewStart;
    const std::int64_t span = std::max<std::int64_t>(m_viewEnd - start, 1);
    const std::int64_t width = std::max(m_width.load(), 1);
    const std::int64_t position = std::max<std::int64_t>(start + span * x / width, 0);
    return wholeFrames(std::min(position, m_heldBytes));
}

void WaveformMapping::zoomIn(EditMode mode, std::optional<std::int64_t> playPosition)
{
    std::int64_t centre = wholeFrames((m_viewStart + m_viewEnd) / 2);
    if (mode == EditMode::AdjustStart) {
        centre = m_selectionStart;
    } else if (mode == EditMode::AdjustEnd) {
        centre = m_selectionEnd;
    } else if (playPosition) {
        centre = *playPosition;
    }
    std::int64_t quarter = wholeFrames(range() / 4);
    if (quarter < kNarrowestQuarter) {
        quarter *= 2; // a narrow range keeps its width and is only re-centred
    }
    // Under 16 bytes the quarter is 0: the range stays as wide as it is.
    const std::int64_t width = quarter > 0 ? 2 * quarter : range();
    showAround(centre - wholeFrames(width / 2), width);
}

void WaveformMapping::zoomOut()
{
    const std::int64_t half = wholeFrames(range() / 2);
    const std::int64_t end = std::min(m_viewEnd + half, m_heldBytes);
    m_viewStart = half >= m_viewStart ? 0 : m_viewStart - half;
    m_viewEnd = end;
}

void WaveformMapping::zoomAt(int x)
{
    if (range() < 4 * kNarrowestQuarter) {
        return;
    }
    const std::int64_t quarter = wholeFrames(range() / 4);
    showAround(positionAt(x) - quarter, 2 * quarter);
}

void WaveformMapping::scrollLines(int count)
{
    moveBy(count * (range() / 10));
}

void WaveformMapping::scrollPages(int count)
{
    moveBy(count * range());
}

void WaveformMapping::placeThumb(int thumb)
{
    const std::int64_t span = range();
    const int limit = scrollBar().limit;
    const std::int64_t start =
        wholeFrames((m_heldBytes - span) * std::clamp(thumb, 0, limit) / limit);
    m_viewStart = start;
    m_viewEnd = start + span;
}

ScrollBarState WaveformMapping::scrollBar() const
{
    constexpr std::int64_t kRange = ScrollBarState::kRange;
    std::int64_t page = range() * kRange / m_heldBytes;
    if (page == 0) {
        page = 1;
    } else if (page > kWidestPage) {
        page = kRange;
    }
    ScrollBarState bar;
    bar.page = static_cast<int>(page);
    bar.limit = static_cast<int>(kRange - page + 1);
    bar.position =
        static_cast<int>(std::min<std::int64_t>(m_viewStart * kRange / m_heldBytes, bar.limit));
    bar.enabled = page != kRange;
    return bar;
}

bool WaveformMapping::dragTo(int x)
{
    if (std::abs(x - m_lastMouseX) < kDragStep) {
        return false;
    }
    m_lastMouseX = x;
    return true;
}

// Either end is written so that a reader on another thread never sees the
// start after the end.
void WaveformMapping::selectStartAt(int x)
{
    const std::int64_t start = positionAt(x);
    if (m_selectionEnd < start) {
        m_selectionEnd = m_heldBytes;
    }
    m_selectionStart = start;
}

void WaveformMapping::selectEndAt(int x)
{
    const std::int64_t end = positionAt(x);
    if (end < m_selectionStart) {
        m_selectionStart = 0;
    }
    m_selectionEnd = end;
}

std::int64_t WaveformMapping::range() const
{
    return m_viewEnd - m_viewStart;
}

void WaveformMapping::moveBy(std::int64_t delta)
{
    const std::int64_t span = range();
    const std::int64_t step = wholeFrames(delta);
    std::int64_t start = m_heldBytes - span;
    if (m_viewStart + step < 0) {
        start = 0;
    } else if (m_viewEnd + step <= m_heldBytes) {
        start = m_viewStart + step;
    }
    m_viewStart = start;
    m_viewEnd = start + span;
}

void WaveformMapping::showAround(std::int64_t start, std::int64_t width)
{
    const std::int64_t shown = std::clamp<std::int64_t>(start, 0, m_heldBytes - width);
    m_viewStart = shown;
    m_viewEnd = shown + width;
}

} // namespace sorvella
