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
constexpr std::uint32_t kLaneCount = sizeof(Lanes) / sizeof(std::int16_t);

// One pass over at most one slice of samples: it runs over every byte
// recorded, so eight samples go at a time, with no absolute values (|-32768|
// does not fit 16 bits): the peak comes from the largest and the smallest
// sample, and |v| > t is v > t or v < -t.
SliceScan scanSlice(const std::uint8_t* bytes, std::uint32_t count, std::int32_t trigger)
{
    static_assert(std::endian::native == std::endian::little, "samples are little-endian");
    static_assert(StoreBlock::kSliceBytes / 2 / kLaneCount < 32768, "loud counts fit the lanes");
    const auto above = static_cast<std::int16_t>(std::clamp(trigger, 0, 32767));
    const auto below = static_cast<std::int16_t>(-above);
    const Lanes aboveLanes = Lanes{} + above;
    const Lanes belowLanes = Lanes{} + below;
    Lanes highestLanes = Lanes{} + std::numeric_limits<std::int16_t>::min();
    Lanes lowestLanes = Lanes{} + std::numeric_limits<std::int16_t>::max();
    Lanes loudLanes = {};
    std::uint32_t i = 0;
    for (; i + kLaneCount <= count; i += kLaneCount) {
        Lanes values;
        std::memcpy(&values, bytes + 2 * i, sizeof values);
        highestLanes = values > highestLanes ? values : highestLanes;
        lowestLanes = values < lowestLanes ? values : lowestLanes;
        loudLanes -= values > aboveLanes; // a true lane is -1
        loudLanes -= values < belowLanes;
    }
    std::int32_t highest = 0;
    std::int32_t lowest = 0;
    std::int32_t loud = 0;
    for (std::uint32_t k = 0; k < kLaneCount; ++k) {
        highest = std::max<std::int32_t>(highest, highestLanes[k]);
        lowest = std::min<std::int32_t>(lowest, lowestLanes[k]);
        loud += loudLanes[k];
    }
    for (; i < count; ++i) {
        const std::int32_t value = sampleAt(bytes + 2 * i);
        highest = std::max(highest, value);
        lowest = std::min(lowest, value);
        loud += (value > above ? 1 : 0) + (value < below ? 1 : 0);
    }
    SliceScan scan;
    scan.peak = std::max(highest, -lowest);
    if (trigger < 0) {
        scan.loud = static_cast<std::int32_t>(count);
    } else if (trigger <= 32767) {
        scan.loud = loud;
    } // above 32767 no sample is loud
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

    // Marks and overview follow only bytes that reached the file, so a short
    // write leaves the block as it was. Scanned after the write, the bytes
    // come from the cache that the copy into the file just filled.
    if (m_writeHandle->writeAt(m_fill, data, n) < n) {
        return false;
    }
    const std::int32_t fill = static_cast<std::int32_t>(m_fill);
    for (std::uint32_t c = 0; c < n; c += kSliceBytes) {
        const std::uint32_t count = (std::min<std::uint32_t>(c + kSliceBytes, n) - c) / 2;
        const SliceScan scan = scanSlice(data + c, count, trigger);
        (*m_overview)[(m_fill + c) / kSliceBytes] =
            static_cast<std::uint8_t>(std::min(scan.peak / 128, 255));
        if (scan.loud == 0) {
            continue;
        }
        m_loudCount += scan.loud;
        if (m_firstLoud == -1) {
            m_firstLoud =
                fill + static_cast<std::int32_t>(c) + 2 * firstLoudIn(data + c, count, trigger) + 2;
        }
        m_lastLoud = fill + static_cast<std::int32_t>(c) + 2 * lastLoudIn(data + c, count, trigger);
    }
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
