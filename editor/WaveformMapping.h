#pragma once

#include "core/Relaxed.h"
#include "editor/EditMode.h"

#include <cstdint>
#include <optional>

namespace sorvella {

// The scroll bar under the view: range 0..kRange, a thumb `page` wide at
// `position`; `limit` is the largest position the thumb can take.
struct ScrollBarState {
    static constexpr int kRange = 30000;

    int page = kRange;
    int position = 0;
    int limit = 1;
    bool enabled = false;

    bool operator==(const ScrollBarState&) const = default;
};

// The waveform view's state without the drawing: which stretch of the store
// is visible, the selection, and how positions map to pixels and back.
// Positions are byte offsets into the store, 0..heldBytes; the ones computed
// here are multiples of 4 (one 16-bit stereo frame).
//
// Kept by every operation: 0 <= viewStart < viewEnd <= heldBytes and
// 0 <= selectionStart <= selectionEnd <= heldBytes.
//
// Threads: the window thread changes everything; the play thread may call
// pixelOf and read the selection meanwhile, so those values are atomics and a
// mapping never divides by a range or a width below 1.
class WaveformMapping {
public:
    static constexpr int kDragStep = 10; // pixels a drag moves before it clicks again

    // Shows and selects the whole store; `heldBytes` > 0.
    explicit WaveformMapping(std::int64_t heldBytes);

    std::int64_t heldBytes() const { return m_heldBytes; }
    std::int64_t viewStart() const { return m_viewStart; }
    std::int64_t viewEnd() const { return m_viewEnd; }
    std::int64_t selectionStart() const { return m_selectionStart; }
    std::int64_t selectionEnd() const { return m_selectionEnd; }
    int lastMouseX() const { return m_lastMouseX; }

    // The view's client width in pixels; any value is taken, the mapping
    // uses at least 1.
    void setWidth(int pixels) { m_width = pixels; }

    // The column of `position`: -1 left of the view, 65535 right of it; the
    // view's end itself lands on the last column.
    int pixelOf(std::int64_t position) const;
    // The position under column `x`, clamped to 0..heldBytes.
    std::int64_t positionAt(int x) const;

    // "+Zoom": halves a range of 100000 bytes or more, otherwise only
    // re-centres it, on the selection start (L), the selection end (R), the
    // play position while playing (P) or the middle of the view.
    void zoomIn(EditMode mode, std::optional<std::int64_t> playPosition);
    // "-" and a right click: widens by half the range on each side.
    void zoomOut();
    // Double click: halves a range of 100000 bytes or more around column x.
    void zoomAt(int x);

    // The scroll bar's arrows (count of lines, a line a tenth of the range),
    // its page areas and ends (count of ranges), and its thumb.
    void scrollLines(int count);
    void scrollPages(int count);
    void placeThumb(int thumb);
    ScrollBarState scrollBar() const;

    // A button-down in the view; a drag step answers whether the move acts as
    // a click at x.
    void pressAt(int x) { m_lastMouseX = x; }
    bool dragTo(int x);

    // Clicks in modes "L" and "R". A start past the end moves the end to the
    // end of the store; an end before the start moves the start to 0.
    void selectStartAt(int x);
    void selectEndAt(int x);

    // Fade lengths in bytes at the selection's ends, as drawn and as played
    // with "PlayFaded"; 1000 each until the editor sets them.
    std::int32_t fadeInBytes() const { return m_fadeInBytes; }
    std::int32_t fadeOutBytes() const { return m_fadeOutBytes; }
    void setFadeInBytes(std::int32_t bytes) { m_fadeInBytes = bytes; }
    void setFadeOutBytes(std::int32_t bytes) { m_fadeOutBytes = bytes; }

private:
    std::int64_t range() const;
    void moveBy(std::int64_t delta);
    void showAround(std::int64_t centre, std::int64_t width);

    const std::int64_t m_heldBytes;
    Relaxed<int> m_width = 1;
    Relaxed<std::int64_t> m_viewStart = 0;
    Relaxed<std::int64_t> m_viewEnd;
    Relaxed<std::int64_t> m_selectionStart = 0;
    Relaxed<std::int64_t> m_selectionEnd;
    Relaxed<std::int32_t> m_fadeInBytes = 1000;
    Relaxed<std::int32_t> m_fadeOutBytes = 1000;
    int m_lastMouseX = 0;
};

} // namespace sorvella
