#include "engine/RingStore.h"

#include "engine/TempSession.h"

#include <algorithm>
#include <chrono>

namespace sorvella {

RingStore::RingStore(const Settings& settings, TempSession& session)
    : m_session(session), m_directToDisk(settings.directToDisk),
      m_voxVolume(settings.voxVolume.load()), m_voxProfile(settings.voxProfile)
{
}

RingStore::RingStore(const Settings& settings, TempSession& session,
                     const std::vector<HeldBlockFile>& files)
    : RingStore(settings, session)
{
    std::int64_t held = 0;
    for (const HeldBlockFile& file : files) {
        m_blocks.push_back(std::make_shared<StoreBlock>(session, file));
        held += file.bytes;
    }
    m_totalBytes.store(held);
    m_heldBytes.store(held);
}

void RingStore::rebuildOverviews()
{
    std::lock_guard lock(m_lock);
    for (const std::shared_ptr<StoreBlock>& block : m_blocks) {
        block->rebuildOverview();
    }
}

RingStore::RingStore(const RingStore& source, std::lock_guard<std::mutex>& /*sourceLocked*/,
                     std::size_t first, std::size_t end)
    : m_session(source.m_session), m_directToDisk(source.m_directToDisk),
      m_voxVolume(source.m_voxVolume.load()), m_voxProfile(source.m_voxProfile)
{
    m_totalBytes.store(source.m_totalBytes.load());
    std::int64_t held = 0;
    for (std::size_t k = first; k < end; ++k) {
        const StoreBlock& block = *source.m_blocks[k];
        // The source keeps writing into a tail block that is not full, so
        // that block's overview is copied; full blocks never change.
        m_blocks.push_back(std::make_shared<StoreBlock>(block, block.full()));
        held += block.fill();
    }
    m_heldBytes.store(held);
}

RingStore::~RingStore()
{
    if (m_journalSerial != 0) {
        m_session.journals().remove(m_journalSerial);
    }
    while (!m_blocks.empty()) {
        m_blocks.pop_front();
    }
}

std::shared_ptr<StoreBlock> RingStore::writableTail()
{
    {
        std::lock_guard lock(m_lock);
        if (!m_blocks.empty() && !m_blocks.back()->full()) {
            return m_blocks.back();
        }
    }
    // Made without the lock: creating the file may wait for the disk.
    auto block = std::make_shared<StoreBlock>(m_session);
    std::lock_guard lock(m_lock);
    m_blocks.push_back(block);
    return block;
}

// Only the counters and the block's bookkeeping take the lock; the write goes
// to bytes past the tail's fill, which no copy sees until they are committed,
// so a snapshot never waits for the disk.
bool RingStore::append(const std::uint8_t* data, std::uint32_t bytes)
{
    const std::int32_t trigger = m_voxVolume.load(std::memory_order_relaxed);
    if (m_firstAppendMs.load(std::memory_order_relaxed) == 0) {
        using namespace std::chrono;
        m_firstAppendBytes = bytes;
        m_firstAppendMs.store(
            duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count(),
            std::memory_order_release);
    }
    std::uint32_t done = 0;
    while (done < bytes) {
        // Shared, so that a block dropped as the oldest meanwhile outlives the write.
        const std::shared_ptr<StoreBlock> tail = writableTail();
        StoreBlock::Piece piece;
        if (!tail->write(data + done, bytes - done, trigger, m_directToDisk, piece)) {
            return false;
        }
        std::lock_guard lock(m_lock);
        tail->commit(piece);
        // Counted per piece, so the counters always match what the blocks hold.
        done += piece.bytes;
        m_totalBytes.fetch_add(piece.bytes, std::memory_order_acq_rel);
        if (!m_blocks.empty() && m_blocks.back() == tail) {
            m_heldBytes.fetch_add(piece.bytes, std::memory_order_acq_rel);
        }
    }
    return true;
}

void RingStore::trimTo(std::int64_t limit)
{
    std::lock_guard lock(m_lock);
    const auto count = static_cast<std::int64_t>(m_blocks.size());
    if (count > 1 && static_cast<std::int64_t>(m_blocks.front()->fill()) * (count - 2) > limit) {
        popHeadLocked();
    }
}

void RingStore::endRecording()
{
    std::lock_guard lock(m_lock);
    for (auto& block : m_blocks) {
        block->closeWrite(m_directToDisk);
    }
}

std::unique_ptr<RingStore> RingStore::snapshot()
{
    std::lock_guard lock(m_lock);
    return std::unique_ptr<RingStore>(new RingStore(*this, lock, 0, m_blocks.size()));
}

std::unique_ptr<RingStore> RingStore::snapshot(std::int64_t from, std::int64_t to)
{
    std::lock_guard lock(m_lock);
    const auto clampIndex = [this](std::int64_t position) {
        return static_cast<std::size_t>(
            std::clamp<std::int64_t>(position, 0, static_cast<std::int64_t>(m_blocks.size())));
    };
    const std::size_t first = clampIndex(from / kBlockSize);
    const std::size_t end = std::max(first, clampIndex((to + kBlockSize - 1) / kBlockSize));
    return std::unique_ptr<RingStore>(new RingStore(*this, lock, first, end));
}

void RingStore::keepJournal(const WaveFormat& format, std::string target, std::string earlier)
{
    if (m_journalSerial != 0) {
        m_session.journals().retarget(m_journalSerial, std::move(target));
        return;
    }
    m_journalSerial =
        m_session.journals().add(*this, format, std::move(target), std::move(earlier));
}

void RingStore::flushJournal()
{
    m_session.journals().writeAll();
}

std::string RingStore::journalBlocks(StoreJournal& journal) const
{
    journal.blocks.clear();
    const std::int64_t firstMs = m_firstAppendMs.load(std::memory_order_acquire);
    const auto rate = static_cast<std::int64_t>(journal.format.avgBytesPerSec);
    journal.startMs =
        firstMs - (rate > 0 ? static_cast<std::int64_t>(m_firstAppendBytes) * 1000 / rate : 0);
    std::lock_guard lock(m_lock);
    if (m_blocks.empty()) {
        return {};
    }
    const std::string& head = m_blocks.front()->fileName();
    // <session>/<subdirectory>/<name>
    const std::size_t cut = head.rfind('/', head.rfind('/') - 1);
    std::string directory = head.substr(0, cut == std::string::npos ? 0 : cut);
    journal.skippedBytes =
        m_totalBytes.load(std::memory_order_relaxed) - m_heldBytes.load(std::memory_order_relaxed);
    for (const auto& block : m_blocks) {
        if (block->fileName().compare(0, directory.size(), directory) == 0) {
            journal.blocks.push_back({block->fileIndex(), block->fill()});
        }
    }
    return directory;
}

std::int64_t RingStore::firstLoudPosition()
{
    std::lock_guard lock(m_lock);
    for (std::size_t k = 0; k < m_blocks.size(); ++k) {
        if (m_blocks[k]->loudCount() > kMinLoudSamples) {
            return static_cast<std::int64_t>(k) * kBlockSize + m_blocks[k]->firstLoud();
        }
    }
    return -1;
}

std::int64_t RingStore::lastLoudPosition()
{
    std::lock_guard lock(m_lock);
    for (std::size_t k = m_blocks.size(); k-- > 0;) {
        if (m_blocks[k]->loudCount() > kMinLoudSamples) {
            return static_cast<std::int64_t>(k) * kBlockSize + m_blocks[k]->lastLoud();
        }
    }
    return -1;
}

void RingStore::popHeadLocked()
{
    m_heldBytes.fetch_sub(m_blocks.front()->fill(), std::memory_order_acq_rel);
    m_blocks.pop_front();
}

bool RingStore::dropOldestForRoom()
{
    std::lock_guard lock(m_lock);
    if (m_blocks.size() < 2) {
        return false;
    }
    popHeadLocked();
    return true;
}

void RingStore::dropOldestBlock()
{
    std::lock_guard lock(m_lock);
    if (!m_blocks.empty()) {
        popHeadLocked();
    }
}

void RingStore::dropThrough(std::int64_t lastNumber)
{
    std::deque<std::shared_ptr<StoreBlock>> dropped;
    {
        std::lock_guard lock(m_lock);
        while (!m_blocks.empty() && m_blocks.front()->number() <= lastNumber) {
            m_heldBytes.fetch_sub(m_blocks.front()->fill(), std::memory_order_acq_rel);
            dropped.push_back(std::move(m_blocks.front()));
            m_blocks.pop_front();
        }
    }
    // Deleted without the lock: the device callback need not wait for it.
}

void RingStore::setTriggerLevel(const Settings& settings)
{
    m_voxVolume.store(settings.voxVolume.load(), std::memory_order_release);
}

std::int64_t RingStore::toAbsolute(std::int64_t logical)
{
    std::lock_guard lock(m_lock);
    if (logical < 0 || m_blocks.empty()) {
        return -1;
    }
    const auto n = static_cast<std::size_t>(logical / kBlockSize);
    const std::int64_t r = logical % kBlockSize;
    if (n < m_blocks.size()) {
        return m_blocks[n]->number() * kBlockSize + r;
    }
    if (n == m_blocks.size() && r == 0 && m_blocks.back()->full()) {
        return m_blocks.back()->number() * kBlockSize + (kBlockSize - 4);
    }
    return -1;
}

std::int64_t RingStore::toLogical(std::int64_t absolute)
{
    std::lock_guard lock(m_lock);
    if (absolute < 0) {
        return -1;
    }
    const std::int64_t n = absolute / kBlockSize;
    const std::int64_t r = absolute % kBlockSize;
    for (std::size_t k = 0; k < m_blocks.size(); ++k) {
        if (m_blocks[k]->number() == n) {
            return static_cast<std::int64_t>(k) * kBlockSize + r;
        }
    }
    return -1;
}

const std::uint8_t* RingStore::dataAt(std::int64_t logical)
{
    std::lock_guard lock(m_lock);
    if (logical < 0 || logical / kBlockSize >= static_cast<std::int64_t>(m_blocks.size())) {
        return nullptr;
    }
    const auto n = static_cast<std::size_t>(logical / kBlockSize);
    for (std::size_t k = 0; k < m_blocks.size(); ++k) {
        const std::int64_t start = static_cast<std::int64_t>(k) * kBlockSize;
        if (logical - start > kCacheWindow || k > n + 1) {
            m_blocks[k]->unload();
        } else if (k == n) {
            m_blocks[k]->load();
        }
    }
    return m_blocks[n]->data() + logical % kBlockSize;
}

std::int32_t RingStore::peakInRange(std::int64_t from, std::int64_t to) const
{
    if (to <= 0) {
        return 128;
    }
    std::lock_guard lock(m_lock);
    std::int32_t best = -1;
    for (std::size_t k = 0; k < m_blocks.size(); ++k) {
        const std::int64_t start = static_cast<std::int64_t>(k) * kBlockSize;
        if (start >= to || start + kBlockSize + StoreBlock::kSliceBytes <= from) {
            continue;
        }
        const auto& overview = m_blocks[k]->overview();
        for (std::int32_t s = 0; s < StoreBlock::kOverviewSize; ++s) {
            const std::int64_t end =
                start + (s + 1) * static_cast<std::int64_t>(StoreBlock::kSliceBytes);
            if (end > from && end < to) {
                best = std::max<std::int32_t>(best, overview[static_cast<std::size_t>(s)]);
            }
        }
    }
    return best < 0 ? 128 : best * 128 + 128;
}

std::size_t RingStore::blockCount() const
{
    std::lock_guard lock(m_lock);
    return m_blocks.size();
}

StoreBlock& RingStore::block(std::size_t index)
{
    std::lock_guard lock(m_lock);
    return *m_blocks.at(index);
}

const StoreBlock& RingStore::block(std::size_t index) const
{
    std::lock_guard lock(m_lock);
    return *m_blocks.at(index);
}

} // namespace sorvella
