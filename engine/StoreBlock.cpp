#include "engine/StoreBlock.h"

#include "core/LittleEndian.h"
#include "core/RecException.h"
#include "engine/SampleScan.h"
#include "engine/TempSession.h"

#include <algorithm>
#include <cstdlib>

namespace sorvella {

namespace {

// Chosen once: the scan runs for every append.
const SampleScanner scanSlice = sampleScanners().front();
static_assert(StoreBlock::kSliceBytes / 2 <= kMaxScanSamples, "a slice is one scan");

// Index of the first / last loud sample of a slice known to hold one.
std::int32_t firstLoudIn(const std::uint8_t* bytes, std::uint32_t count, std::int32_t trigger)
{
    std::uint32_t i = 0;
    while (i + 1 < count && std::abs(le::sample(bytes + 2 * i)) <= trigger) {
        ++i;
    }
    return static_cast<std::int32_t>(i);
}

std::int32_t lastLoudIn(const std::uint8_t* bytes, std::uint32_t count, std::int32_t trigger)
{
    std::uint32_t i = count - 1;
    while (i > 0 && std::abs(le::sample(bytes + 2 * i)) <= trigger) {
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
    m_fileIndex = file.index;
    m_writeHandle = std::move(file.handle);
    m_share = new Share;
}

StoreBlock::StoreBlock(TempSession& session, const HeldBlockFile& file)
    : m_session(session), m_fileName(file.path), m_number(session.nextBlockNumber()),
      m_share(new Share), m_overview(std::make_shared<Overview>()), m_fill(file.bytes)
{
    session.adoptBlockFile();
}

StoreBlock::StoreBlock(const StoreBlock& source, bool shareOverview)
    : m_session(source.m_session), m_fileName(source.m_fileName), m_number(source.m_number),
      m_fileIndex(source.m_fileIndex),
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
                       bool directToDisk, Piece& piece)
{
    const std::uint32_t n =
        std::min<std::uint32_t>(bytes, static_cast<std::uint32_t>(kSize) - m_fill);
    piece = Piece{};
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
    if (m_writeHandle->writeAt(m_fill, data, n) < n) {
        return false;
    }
    // Scanned after the write, the bytes come from the cache that the copy
    // into the file just filled.
    const std::int32_t fill = static_cast<std::int32_t>(m_fill);
    for (std::uint32_t c = 0; c < n; c += kSliceBytes) {
        const std::uint32_t count = (std::min<std::uint32_t>(c + kSliceBytes, n) - c) / 2;
        const SliceScan scan = scanSlice(data + c, count, trigger);
        piece.peaks[c / kSliceBytes] = static_cast<std::uint8_t>(std::min(scan.peak / 128, 255));
        if (scan.loud == 0) {
            continue;
        }
        piece.loud += scan.loud;
        if (piece.firstLoud == -1) {
            piece.firstLoud =
                fill + static_cast<std::int32_t>(c) + 2 * firstLoudIn(data + c, count, trigger) + 2;
        }
        piece.lastLoud =
            fill + static_cast<std::int32_t>(c) + 2 * lastLoudIn(data + c, count, trigger);
    }
    if (directToDisk) {
        m_writeHandle->dropCache(m_fill, n);
    }
    piece.bytes = n;
    if (m_fill + n == kSize) {
        closeWrite(directToDisk);
    }
    return true;
}

void StoreBlock::commit(const Piece& piece)
{
    const std::uint32_t slices = (piece.bytes + kSliceBytes - 1) / kSliceBytes;
    std::copy_n(piece.peaks.begin(), slices, m_overview->begin() + m_fill / kSliceBytes);
    if (piece.loud > 0) {
        m_loudCount += piece.loud;
        if (m_firstLoud == -1) {
            m_firstLoud = piece.firstLoud;
        }
        m_lastLoud = piece.lastLoud;
    }
    m_fill += piece.bytes;
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

void StoreBlock::rebuildOverview()
{
    const bool wasLoaded = loaded();
    load();
    constexpr std::int32_t kNothingLoud = 32768;
    for (std::uint32_t c = 0; c < m_fill; c += kSliceBytes) {
        const std::uint32_t count = (std::min<std::uint32_t>(c + kSliceBytes, m_fill) - c) / 2;
        const SliceScan scan = scanSlice(m_cache.get() + c, count, kNothingLoud);
        (*m_overview)[c / kSliceBytes] = static_cast<std::uint8_t>(std::min(scan.peak / 128, 255));
    }
    if (!wasLoaded) {
        unload();
    }
}

void StoreBlock::unload()
{
    m_cache.reset();
}

} // namespace sorvella
