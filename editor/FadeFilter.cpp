#include "editor/FadeFilter.h"

#include "core/LittleEndian.h"
#include "engine/RingStore.h"

#include <algorithm>

namespace sorvella {
namespace {

constexpr std::int32_t kGroupBytes = 4;
constexpr std::int32_t kSampleBytes = 2;

std::int32_t atLeastOneByte(std::int32_t fadeBytes)
{
    return fadeBytes <= 0 ? 1 : fadeBytes;
}

} // namespace

FadeFilter::FadeFilter(std::int32_t fadeInBytes, std::int32_t fadeOutBytes,
                       std::int64_t selectionStart, std::int64_t selectionEnd,
                       std::int32_t amplification)
    : m_selectionStart(selectionStart), m_selectionEnd(selectionEnd),
      m_fadeInBytes(atLeastOneByte(fadeInBytes)), m_fadeOutBytes(atLeastOneByte(fadeOutBytes)),
      m_amplification(amplification)
{
}

bool FadeFilter::selects(std::int64_t offset, std::int32_t length) const
{
    return offset + length >= m_selectionStart && offset <= m_selectionEnd;
}

void FadeFilter::cut(std::int64_t offset, std::uint8_t*& data, std::int32_t& length)
{
    std::int32_t front = 0;
    std::int32_t kept = 0;
    // A stray odd byte is no sample: it never takes part.
    const std::int32_t usable = length - length % kSampleBytes;
    for (std::int32_t at = 0; at < usable; at += kGroupBytes) {
        const std::int32_t group = std::min(kGroupBytes, usable - at);
        const std::int64_t p = offset + at;
        const bool inside = p >= m_selectionStart && p < m_selectionEnd;
        for (std::int32_t s = at; s < at + group; s += kSampleBytes) {
            const std::int32_t value = inside ? shaped(le::sample(data + s), p) : 0;
            le::writeSample(data + s, static_cast<std::int16_t>(value));
        }
        if (p < m_selectionStart) {
            front += group;
        } else if (inside) {
            kept += group;
        }
    }
    data += front;
    length = kept;
}

void FadeFilter::apply(std::int64_t offset, std::uint8_t* data, std::int32_t length)
{
    cut(offset, data, length);
}

std::unique_ptr<BlockFilter> FadeFilter::clone() const
{
    return std::make_unique<FadeFilter>(*this);
}

// 64-bit throughout: a large gain times a fade numerator passes 32 bits.
std::int32_t FadeFilter::shaped(std::int32_t sample, std::int64_t p) const
{
    std::int64_t value = std::int64_t{sample} * m_amplification / 100;
    if (p < m_selectionStart + m_fadeInBytes) {
        value = value * (p - m_selectionStart) / m_fadeInBytes;
    }
    if (p > m_selectionEnd - m_fadeOutBytes) {
        value = value * (m_selectionEnd - p) / m_fadeOutBytes;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -32768, 32767));
}

std::int32_t amplificationNow(const RingStore& store, std::int64_t selectionStart,
                              std::int64_t selectionEnd)
{
    std::int32_t peak = store.peakInRange(selectionStart, selectionEnd);
    if (peak <= 0) {
        peak = 1;
    }
    const std::int32_t gain = 3276700 / peak - 1;
    return gain > 101 ? gain : 100;
}

} // namespace sorvella
