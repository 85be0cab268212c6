#pragma once

#include "core/Settings.h"
#include "engine/OverviewPainter.h"
#include "engine/StoreBlock.h"
#include "engine/StoreJournal.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace sorvella {

class TempSession;

// The recorded sound as a chain of 512 KiB blocks, each in a temporary file of
// its own, oldest first. Positions are logical byte offsets from the start of
// the oldest held block; absolute positions (block number * kBlockSize +
// offset) stay valid across trims.
//
// Threads: append/trimTo/endRecording run on the device callback thread while
// the main thread calls snapshot, the loud positions, dropOldestBlock,
// setTriggerLevel and the counters; every operation on the chain takes the
// store's lock, which an append holds only for its bookkeeping, never across
// the file write. heldBytes/totalBytes are atomics read without the lock.
// dataAt, peakInRange, drawOverview, blockCount and block() are for a store
// that no longer records (a snapshot or a detached store owned by one thread).
class RingStore {
public:
    static constexpr std::int64_t kBlockSize = StoreBlock::kSize;
    static constexpr std::int32_t kMinLoudSamples = 50;    // every vox profile's minimum
    static constexpr std::int64_t kCacheWindow = 0x100000; // 1 MiB kept before a play position

    RingStore(const Settings& settings, TempSession& session);
    // A store that no longer records, over block files an earlier run left
    // (oldest first); it deletes them as any store does.
    RingStore(const Settings& settings, TempSession& session,
              const std::vector<HeldBlockFile>& files);
    // Reads such a store's sound once to draw its overview, which the editor
    // shows. Main thread, before the store is shared; throws as
    // StoreBlock::load does.
    void rebuildOverviews();
    ~RingStore(); // deletes every block from the head
    RingStore(const RingStore&) = delete;
    RingStore& operator=(const RingStore&) = delete;

    // Appends `bytes` bytes of 16-bit PCM at the tail, starting a new block
    // file when the tail is full. False when the disk is full: what fitted in
    // whole pieces is stored and counted, the rest is not, and the next append
    // goes on at the block's fill. Throws RecException kind 1 "Cannot create
    // temp file..." (chain unchanged). Called from the device callback thread.
    bool append(const std::uint8_t* data, std::uint32_t bytes);

    // Drops the oldest block when the chain holds more than one block and
    // head.fill * (count - 2) > limit. At most one block per call.
    void trimTo(std::int64_t limit);

    // Closes the open write handle (the tail block's) if any.
    void endRecording();

    std::int64_t heldBytes() const { return m_heldBytes.load(std::memory_order_acquire); }
    std::int64_t totalBytes() const { return m_totalBytes.load(std::memory_order_acquire); }

    // A new store sharing this store's block files (no sound bytes copied).
    // Main thread, while appends go on. The copy sees the blocks as they are
    // now (the tail's fill is frozen).
    std::unique_ptr<RingStore> snapshot();
    // The same for only the blocks that hold the logical range [from, to):
    // its positions start at the first of them, (from / kBlockSize) blocks
    // into this store. Costs the range, not the whole store.
    std::unique_ptr<RingStore> snapshot(std::int64_t from, std::int64_t to);

    // Vox: logical position of the first loud sample's end (firstLoud) of the
    // first block with more than kMinLoudSamples loud samples; -1 if none.
    std::int64_t firstLoudPosition();
    // Logical position of the last loud sample (lastLoud) of the last such block.
    std::int64_t lastLoudPosition();

    // A full disk in loop mode: removes the head block unless it is the tail,
    // so that its file makes room for the recording. False when it is.
    bool dropOldestForRoom();
    // Removes and deletes the head block. Does nothing on an empty store.
    void dropOldestBlock();
    // Removes the head blocks numbered up to `lastNumber`, at one take.
    void dropThrough(std::int64_t lastNumber);

    // Takes "Vox Volume" from the given settings (main thread, during recording).
    void setTriggerLevel(const Settings& settings);
    std::int32_t triggerLevel() const { return m_voxVolume.load(std::memory_order_acquire); }

    // Logical -> absolute; the end of a chain of full blocks gives the last
    // block's last frame; anything else outside the chain gives -1.
    std::int64_t toAbsolute(std::int64_t logical);
    // Absolute -> logical; -1 when that block is no longer held.
    std::int64_t toLogical(std::int64_t absolute);

    // Address of the byte at a logical position inside its loaded block, for
    // playback; keeps at most the 1 MiB before it, its block and the next one
    // loaded. Null when the position is outside the chain. Throws RecException
    // from loading.
    const std::uint8_t* dataAt(std::int64_t logical);

    // Largest overview byte over the slices whose end lies strictly between
    // from and to, as byte * 128 + 128; 128 when to <= 0 or none qualifies.
    std::int32_t peakInRange(std::int64_t from, std::int64_t to) const;

    // Computes the overview's bars for the request and hands them to the painter.
    void drawOverview(const OverviewRequest& request, OverviewPainter& painter) const;

    // Block-by-block reading (save job, tests): the blocks head to tail. Load
    // a block's bytes with block(i).load() and free them with unload().
    std::size_t blockCount() const;
    StoreBlock& block(std::size_t index);
    const StoreBlock& block(std::size_t index) const;

    // Keeps a journal of this store's blocks (the session's file thread
    // writes it) until the store goes; `target` names a save's file. A store
    // journaled already keeps its journal, now naming `target`.
    // `earlier` is a journal file of the same blocks, replaced by this one.
    void keepJournal(const WaveFormat& format, std::string target = {}, std::string earlier = {});
    // File thread: the directory of the head block's file, and the journal's
    // blocks (those in that directory, head first), bytes trimmed before them
    // and the time of the first byte (derived from the first append).
    std::string journalBlocks(StoreJournal& journal) const;
    // Writes the journals now, on the calling thread (which may wait for
    // the disk): a save does before it consumes a block.
    void flushJournal();

    bool directToDisk() const { return m_directToDisk; }
    std::int32_t voxProfile() const { return m_voxProfile; }

private:
    // Copies the source's blocks [first, end) (indexes).
    RingStore(const RingStore& source, std::lock_guard<std::mutex>& sourceLocked, std::size_t first,
              std::size_t end);
    // Removes the head block; the caller holds the lock and has one.
    void popHeadLocked();
    // The tail block when it has room, else a new one at the tail.
    std::shared_ptr<StoreBlock> writableTail();

    TempSession& m_session;
    // The settings this store uses, copied at creation.
    bool m_directToDisk;
    std::atomic<std::int32_t> m_voxVolume;
    std::int32_t m_voxProfile;

    mutable std::mutex m_lock; // guards m_blocks and the writes of both counters
    std::deque<std::shared_ptr<StoreBlock>> m_blocks;
    std::atomic<std::int64_t> m_totalBytes{0};
    std::atomic<std::int64_t> m_heldBytes{0};
    // When the first append came and how many bytes it brought: its first
    // byte's time. Plain stores, no allocation, on the device callback.
    std::atomic<std::int64_t> m_firstAppendMs{0};
    std::uint32_t m_firstAppendBytes = 0; // published by m_firstAppendMs
    int m_journalSerial = 0;              // 0: no journal
};

} // namespace sorvella
