#pragma once

#include "save/BlockFilter.h"

#include <cstdint>
#include <memory>

namespace sorvella {

class RingStore;

// Keeps the selection [selectionStart, selectionEnd) of a store, fades its
// ends in and out linearly and amplifies it, for the editor's saves and
// playback and the vox saves. Works on 4-byte groups (one stereo frame, or
// two mono samples that share one gain) at their store positions; a last
// group of one mono sample is handled alone.
class FadeFilter final : public BlockFilter {
public:
    // Fade lengths of 0 or less become 1 byte (no audible fade).
    // `amplification` is in per cent (100 leaves the level unchanged).
    FadeFilter(std::int32_t fadeInBytes, std::int32_t fadeOutBytes, std::int64_t selectionStart,
               std::int64_t selectionEnd, std::int32_t amplification);

    // True when [offset, offset + length) meets the selection; a range that
    // ends exactly at its start counts (its bytes are then all cut away).
    bool selects(std::int64_t offset, std::int32_t length) const override;

    // Silences the groups outside the selection, cutting those before it off
    // the front and those after it off the end, and fades and amplifies the
    // rest in place, clamped to the 16-bit range.
    void cut(std::int64_t offset, std::uint8_t*& data, std::int32_t& length) override;

    // `cut` on the whole buffer for playback: what lies outside the selection
    // stays in the buffer as silence.
    void apply(std::int64_t offset, std::uint8_t* data, std::int32_t length);

    std::unique_ptr<BlockFilter> clone() const override;

private:
    // The sample after gain and fades at store position p inside the selection.
    std::int32_t shaped(std::int32_t sample, std::int64_t p) const;

    std::int64_t m_selectionStart;
    std::int64_t m_selectionEnd;
    std::int32_t m_fadeInBytes;
    std::int32_t m_fadeOutBytes;
    std::int32_t m_amplification;
};

// The gain in per cent that brings the loudest part of a store's selection
// (its overview peak) near full scale; 100 when it is within about 2 % already.
std::int32_t amplificationNow(const RingStore& store, std::int64_t selectionStart,
                              std::int64_t selectionEnd);

} // namespace sorvella
