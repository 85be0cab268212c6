#include "engine/StoreBlock.h"

#include "core/RecException.h"
#include "engine/TempSession.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace sorvella {

namespace {

std::int32_t sampleAt(const std::uint8_t* p)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

struct SliceScan {
    std::int32_t peak = 0; // largest absolute sample
    std::int32_t loud = 0; // samples whose absolute value exceeds the trigger
};

// Eight samples in one register. GCC and Clang lower these vector types to
// SSE2/NEON without flags or intrinsics.
using Lanes = std::int16_t __attribute__((vector_size(16)));
using UnsignedLanes = std::uint16_t __attribute__((vector_size(16)));
constexpr std::uint32_t kLaneCount = sizeof(Lanes) / sizeof(std::int16_t);

// Absolute values (0..32768) as signed values with the top bit flipped, so
// that they compare unsigned under signed comparisons. The arithmetic is
// unsigned: |-32768| does not fit a signed 16-bit value. (The casts between
// vector types reinterpret the lanes.)
template <typename Signed, typename Unsigned> Signed biasedMagnitude(Signed value)
{
    const auto bits = (Unsigned)value;
    const auto sign = (Unsigned)(value >> 15);
    return (Signed)(Unsigned)(((bits ^ sign) - sign) ^ 0x8000);
}

// One pass over at most one slice of samples: it runs over every byte
// recorded, so eight samples go at a time.
SliceScan scanSlice(const std::uint8_t* bytes, std::uint32_t count, std::int32_t trigger)
{
    static_assert(std::endian::native == std::endian::little, "samples are little-endian");
    static_assert(StoreBlock::kSliceBytes / 2 / kLaneCount < 32768, "loud counts fit the lanes");
    const auto limit = static_cast<std::uint16_t>(std::clamp(trigger, 0, 32768));
    const auto biasedLimit = static_cast<std::int16_t>(limit ^ 0x8000);
    const Lanes limitLanes = Lanes{} + biasedLimit;
    Lanes peakLanes = Lanes{} + std::numeric_limits<std::int16_t>::min();
    Lanes loudLanes = {};
    std::uint32_t i = 0;
    for (; i + kLaneCount <= count; i += kLaneCount) {
        Lanes values;
        std::memcpy(&values, bytes + 2 * i, sizeof values);
        const Lanes biased = biasedMagnitude<Lanes, UnsignedLanes>(values);
        const Lanes higher = biased > peakLanes; // a true lane is all ones (-1)
        peakLanes = (biased & higher) | (peakLanes & ~higher);
        loudLanes -= biased > limitLanes;
    }
    std::int16_t biasedPeak = std::numeric_limits<std::int16_t>::min();
    std::int32_t loud = 0;
    for (std::uint32_t k = 0; k < kLaneCount; ++k) {
        biasedPeak = std::max(biasedPeak, peakLanes[k]);
        loud += loudLanes[k];
    }
    for (; i < count; ++i) {
        const auto biased = biasedMagnitude<std::int16_t, std::uint16_t>(
            static_cast<std::int16_t>(sampleAt(bytes + 2 * i)));
        biasedPeak = std::max(biasedPeak, biased);
        loud += biased > biasedLimit ? 1 : 0;
    }
    SliceScan scan;
    scan.peak = static_cast<std::uint16_t>(biasedPeak) ^ 0x8000;
    scan.loud = trigger < 0 ? static_cast<std::int32_t>(count) : loud;
    return scan;
}

// Index of the first / last loud sample of a slice known to hold one.
std::int32_t firstLoudIn(const std::uint8_t* bytes, std::uint32_t count, std::int32_t trigger)
{
    std::uint32_t i = 0;
    while (i + 1 < count && std::abs(sampleAt(bytes + 2 * i)) <= trigger) {
        ++i;
    }
    return static_cast<std::int32_t>(i);
}

std::int32_t lastLoudIn(const std::uint8_t* bytes, std::uint32_t count, std::int32_t trigger)
{
    std::uint32_t i = count - 1;
    while (i > 0 && std::abs(sampleAt(bytes + 2 * i)) <= trigger) {
        --i;
    }
    return static_cast<std::int32_t>(i);
}

} // namespace

StoreBlock::StoreBlock(TempSession& session)
    : m_session(session), m_number(session.nextBlockNumber()),
      m_overview(std::make_shared<Overview>())
{
    NewBlockFile file = session.createBlockFile();
    if (!file.handle) {
        throw RecException(RecException::Failure, "Cannot create temp file...");
    }
    m_fileName = std::move(file.name);
    m_writeHandle = std::move(file.handle);
    m_share = new Share;
}

StoreBlock::StoreBlock(const StoreBlock& source, bool shareOverview)
    : m_session(source.m_session), m_fileName(source.m_fileName), m_number(source.m_number),
      m_overview(shareOverview ? source.m_overview
                               : std::make_shared<Overview>(*source.m_overview)),
      m_fill(source.m_fill), m_firstLoud(source.m_firstLoud), m_lastLoud(source.m_lastLoud),
      m_loudCount(source.m_loudCount)
{
    std::lock_guard lock(m_session.blockLock());
    ++source.m_share->count;
    m_share = source.m_share;
}

StoreBlock::~StoreBlock()
{
    m_cache.reset();
    bool last;
    {
        std::lock_guard lock(m_session.blockLock());
        last = --m_share->count == 0;
    }
    m_writeHandle.reset();
    if (last) {
        delete m_share;
        m_overview.reset();
        m_session.releaseBlockFile(std::move(m_fileName));
    }
}

std::int32_t StoreBlock::shareCount() const
{
    std::lock_guard lock(m_session.blockLock());
    return m_share->count;
}

bool StoreBlock::write(const std::uint8_t* data, std::uint32_t bytes, std::int32_t trigger,
                       bool directToDisk)
{
    const std::uint32_t n =
        std::min<std::uint32_t>(bytes, static_cast<std::uint32_t>(kSize) - m_fill);
    if (n == 0) {
        return true;
    }
    if (!m_writeHandle) {
        // Closed early (end of recording, or loaded) and written again.
        m_writeHandle = m_session.files().openExisting(m_fileName);
        if (!m_writeHandle) {
            throw RecException(RecException::Failure, "Cannot open temporary file");
        }
    }

    // Vox marks and overview go into locals first and are committed only once
    // the bytes are in the file, so a short write leaves the block as it was.
    std::int32_t firstLoud = m_firstLoud;
    std::int32_t lastLoud = m_lastLoud;
    std::int32_t loudCount = m_loudCount;
    std::array<std::uint8_t, kOverviewSize> peaks;
    const std::int32_t fill = static_cast<std::int32_t>(m_fill);
    std::uint32_t slices = 0;
    for (std::uint32_t c = 0; c < n; c += kSliceBytes, ++slices) {
        const std::uint32_t count = (std::min<std::uint32_t>(c + kSliceBytes, n) - c) / 2;
        const SliceScan scan = scanSlice(data + c, count, trigger);
        peaks[slices] = static_cast<std::uint8_t>(std::min(scan.peak / 128, 255));
        if (scan.loud == 0) {
            continue;
        }
        loudCount += scan.loud;
        if (firstLoud == -1) {
            firstLoud =
                fill + static_cast<std::int32_t>(c) + 2 * firstLoudIn(data + c, count, trigger) + 2;
        }
        lastLoud = fill + static_cast<std::int32_t>(c) + 2 * lastLoudIn(data + c, count, trigger);
    }

    if (m_writeHandle->writeAt(m_fill, data, n) < n) {
        return false;
    }
    for (std::uint32_t k = 0; k < slices; ++k) {
        (*m_overview)[(m_fill + k * kSliceBytes) / kSliceBytes] = peaks[k];
    }
    m_firstLoud = firstLoud;
    m_lastLoud = lastLoud;
    m_loudCount = loudCount;
    if (directToDisk) {
        m_writeHandle->dropCache(m_fill, n);
    }
    m_fill += n;
    if (full()) {
        closeWrite(directToDisk);
    }
    return true;
}

void StoreBlock::closeWrite(bool directToDisk)
{
    if (m_writeHandle && directToDisk) {
        m_writeHandle->dropCache(0, 0);
    }
    m_writeHandle.reset();
}

void StoreBlock::load()
{
    m_writeHandle.reset();
    if (m_cache) {
        return;
    }
    auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kSize);
    const auto read = m_session.files().readFile(m_fileName, buffer.get(), m_fill);
    if (!read.opened) {
        throw RecException(RecException::Failure, "Cannot open temporary file");
    }
    if (read.bytes < m_fill) {
        throw RecException(RecException::Failure, "Temorary File too short (" +
                                                      std::to_string(read.bytes) + " " +
                                                      std::to_string(m_fill) + ")...");
    }
    m_cache = std::move(buffer);
}

void StoreBlock::unload()
{
    m_cache.reset();
}

} // namespace sorvella
