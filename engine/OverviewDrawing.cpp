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

// Merges runs of slices into columns (the largest peak, the colour of the
// first slice) and hands each finished column on.
class ColumnMerger {
public:
    ColumnMerger(const OverviewRequest& request, OverviewPainter& painter)
        : m_request(request), m_columns(request.rect, painter)
    {
    }

    // Slices in column x with the largest peak t, the first of them at q.
    void run(std::int64_t x, std::int32_t t, std::int64_t q)
    {
        if (m_merging && x == m_x) {
            m_peak = std::max(m_peak, t);
            return;
        }
        finish();
        m_merging = true;
        m_x = x;
        m_peak = t;
        m_colour = colourAt(q, m_request);
    }

    void finish()
    {
        if (m_merging) {
            m_columns.column(m_x, m_peak, m_colour);
        }
    }

private:
    const OverviewRequest& m_request;
    ColumnPainter m_columns;
    bool m_merging = false; // a column is being merged
    std::int64_t m_x = 0;
    std::int32_t m_peak = 0;
    OverviewColour m_colour;
};

// Column of a position; rises with it, so the slices of a column form a run.
std::int64_t columnOf(std::int64_t q, const OverviewRequest& r)
{
    return (q - r.from) * r.rect.width / (r.to - r.from);
}

// Hands the block's slices near the rectangle to the merger, a run of slices
// of one column at a time: finding a run's end takes a few divisions, not one
// per slice, and its peak is one scan of the overview bytes.
void mergeBlock(const StoreBlock& block, std::int64_t start, const OverviewRequest& r,
                ColumnMerger& merger)
{
    const std::int64_t slices =
        (block.fill() + StoreBlock::kSliceBytes - 1) / StoreBlock::kSliceBytes;
    auto sliceColumn = [&](std::int64_t s) {
        return columnOf(start + s * StoreBlock::kSliceBytes, r);
    };
    // A long store seen closely: whole blocks lie left of every column drawn.
    if (slices == 0 || sliceColumn(slices - 1) < -kMargin) {
        return;
    }
    const std::int64_t width = r.rect.width;
    const auto& overview = block.overview();
    for (std::int64_t first = 0; first < slices;) {
        const std::int64_t x = sliceColumn(first);
        // The run's end: gallop, then halve the gap.
        std::int64_t last = first; // in the column
        std::int64_t step = 1;
        while (last + step < slices && sliceColumn(last + step) == x) {
            last += step;
            step *= 2;
        }
        std::int64_t beyond = std::min(last + step, slices); // past the column
        while (beyond - last > 1) {
            const std::int64_t middle = last + (beyond - last) / 2;
            (sliceColumn(middle) == x ? last : beyond) = middle;
        }
        if (x >= -kMargin && x <= width + kMargin) {
            merger.run(x, *std::max_element(overview.begin() + first, overview.begin() + beyond),
                       start + first * StoreBlock::kSliceBytes);
        }
        first = beyond;
    }
}

} // namespace

void RingStore::drawOverview(const OverviewRequest& request, OverviewPainter& painter) const
{
    if (request.rect.width <= 0 || request.rect.height <= 0 || request.to <= request.from) {
        return;
    }
    std::lock_guard lock(m_lock);
    ColumnMerger merger(request, painter);
    for (std::size_t k = 0; k < m_blocks.size(); ++k) {
        const std::int64_t start = static_cast<std::int64_t>(k) * kBlockSize;
        mergeBlock(*m_blocks[k], start, request, merger);
        if (start + kBlockSize > request.to) {
            break;
        }
    }
    merger.finish();
}

} // namespace sorvella
