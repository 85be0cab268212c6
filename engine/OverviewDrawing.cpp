// The waveform overview of a store: columns of peak bars computed from the
// blocks' overviews, handed to a painter.

#include "engine/RingStore.h"

#include <algorithm>

namespace sorvella {

namespace {

constexpr std::int64_t kMargin = 49; // columns computed beyond each side, for interpolation
const OverviewColour kOutside{128, 128, 128};

// Fade percentage at q: 100 at the selection edge falling to 0 across the
// fade; 0 outside both fades.
std::int64_t fadePercent(std::int64_t q, const OverviewRequest& r)
{
    std::int64_t j = 0;
    if (r.fadeIn > 0 && q >= r.selectionStart && q < r.selectionStart + r.fadeIn) {
        j = 100 - (q - r.selectionStart) * 100 / r.fadeIn;
    }
    if (r.fadeOut > 0 && q <= r.selectionEnd && q > r.selectionEnd - r.fadeOut) {
        j = std::max(j, 100 - (r.selectionEnd - q) * 100 / r.fadeOut);
    }
    return j == 0 ? 0 : std::clamp<std::int64_t>(j, 0, 99);
}

OverviewColour colourAt(std::int64_t q, const OverviewRequest& r)
{
    if (q < r.selectionStart || q > r.selectionEnd) {
        return kOutside;
    }
    return OverviewColour{static_cast<std::uint8_t>(fadePercent(q, r) * 240 / 100), 255, 0};
}

// Joins consecutive columns by bars whose half-heights run linearly from the
// previous column's to the new one's.
class ColumnPainter {
public:
    ColumnPainter(const OverviewRect& rect, OverviewPainter& painter)
        : m_rect(rect), m_painter(painter)
    {
    }

    void column(std::int64_t x, std::int32_t peak, OverviewColour colour)
    {
        const std::int64_t half = static_cast<std::int64_t>(m_rect.height) * peak / 510;
        const std::int64_t from = m_started ? m_lastX + 1 : x;
        for (std::int64_t bx = from; bx <= x; ++bx) {
            std::int64_t h = half;
            if (m_started && x != m_lastX) {
                h = m_lastHalf + (half - m_lastHalf) * (bx - m_lastX) / (x - m_lastX);
            }
            if (bx >= 0 && bx < m_rect.width) {
                m_painter.fillBar(m_rect.left + static_cast<int>(bx),
                                  m_rect.top + m_rect.height / 2 - static_cast<int>(h),
                                  static_cast<int>(2 * h + 1), colour);
            }
        }
        m_started = true;
        m_lastX = x;
        m_lastHalf = half;
    }

private:
    const OverviewRect& m_rect;
    OverviewPainter& m_painter;
    bool m_started = false; // a column was drawn before
    std::int64_t m_lastX = 0;
    std::int64_t m_lastHalf = 0;
};

} // namespace

void RingStore::drawOverview(const OverviewRequest& request, OverviewPainter& painter) const
{
    const std::int64_t width = request.rect.width;
    const std::int64_t span = request.to - request.from;
    if (width <= 0 || request.rect.height <= 0 || span <= 0) {
        return;
    }
    std::lock_guard lock(m_lock);
    ColumnPainter columns(request.rect, painter);
    bool merging = false; // a column is being merged
    std::int64_t x = 0;
    std::int32_t peak = 0;
    OverviewColour colour;

    for (std::size_t k = 0; k < m_blocks.size(); ++k) {
        const StoreBlock& block = *m_blocks[k];
        const std::int64_t start = static_cast<std::int64_t>(k) * kBlockSize;
        for (std::uint32_t offset = 0; offset < block.fill(); offset += StoreBlock::kSliceBytes) {
            const std::int64_t q = start + offset;
            const std::int64_t sliceX = (q - request.from) * width / span;
            if (sliceX < -kMargin || sliceX > width + kMargin) {
                continue;
            }
            const std::int32_t t = block.overview()[offset / StoreBlock::kSliceBytes];
            if (merging && sliceX == x) {
                peak = std::max(peak, t);
                continue;
            }
            if (merging) {
                columns.column(x, peak, colour);
            }
            merging = true;
            x = sliceX;
            peak = t;
            colour = colourAt(q, request);
        }
        if (start + kBlockSize > request.to) {
            break;
        }
    }
    if (merging) {
        columns.column(x, peak, colour);
    }
}

} // namespace sorvella
