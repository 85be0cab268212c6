#pragma once

#include "platform/files/BlockFiles.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

class TempSession;

// A block file left with sound in it (by a run that ended without saving).
struct HeldBlockFile {
    std::string path;
    std::uint32_t bytes = 0;
};

// One 512 KiB block of a RingStore: a temporary file of raw 16-bit PCM, its
// peak overview (one byte per KiB) and its vox marks. Copies made by a
// snapshot share the file (and the overview of a full block); the last
// sharer to go deletes the file and reports it to the TempSession.
//
// Not thread-safe by itself: the owning store serialises access under its
// lock; the share count is guarded by the session's block lock.
class StoreBlock {
public:
    static constexpr std::int64_t kSize = 0x80000;
    static constexpr std::int32_t kSliceBytes = 1024;
    static constexpr std::int32_t kOverviewSize = static_cast<std::int32_t>(kSize / kSliceBytes);
    using Overview = std::array<std::uint8_t, kOverviewSize>;

    // Takes the next block number and a new file name from the session and
    // creates the file. Throws RecException kind 1 "Cannot create temp
    // file..." when the file cannot be created (nothing is left behind).
    explicit StoreBlock(TempSession& session);
    // Takes over a block file left by an earlier run, holding `file.bytes`
    // bytes; counted as outstanding like a created one. Its overview and vox
    // marks are empty: the sound is not read.
    StoreBlock(TempSession& session, const HeldBlockFile& file);
    // A copy sharing `source`'s file: same name, number, fill and marks, no
    // cache, no write handle. The overview is shared when the source is full
    // and copied when it may still be written.
    StoreBlock(const StoreBlock& source, bool shareOverview);
    ~StoreBlock(); // frees the cache, closes the handle, releases the file
    StoreBlock& operator=(const StoreBlock&) = delete;

    const std::string& fileName() const { return m_fileName; }
    std::int64_t number() const { return m_number; }
    // The file's number in its session directory (its base-36 name).
    std::uint64_t fileIndex() const { return m_fileIndex; }
    std::uint32_t fill() const { return m_fill; }
    bool full() const { return m_fill == kSize; }
    std::int32_t firstLoud() const { return m_firstLoud; }
    std::int32_t lastLoud() const { return m_lastLoud; }
    std::int32_t loudCount() const { return m_loudCount; }
    const Overview& overview() const { return *m_overview; }
    std::int32_t shareCount() const; // takes the block lock
    bool writing() const { return m_writeHandle != nullptr; }

    // What one write put into the file, waiting to be made visible.
    struct Piece {
        std::uint32_t bytes = 0;
        std::int32_t loud = 0;
        std::int32_t firstLoud = -1; // offsets in the block
        std::int32_t lastLoud = -1;
        std::array<std::uint8_t, kOverviewSize> peaks{}; // per slice of the piece
    };

    // Writes min(bytes, kSize - fill) bytes of `data` at offset fill and scans
    // them for `piece` (samples whose absolute value exceeds `trigger` are
    // loud). Touches nothing that a copy reads, so it runs without the
    // store's lock: the bytes past fill are seen by nobody until commit.
    // Closes the handle when the piece fills the block. A short write (disk
    // full) returns false; the next write lands at the same offset. Throws
    // RecException when a closed block cannot be reopened.
    bool write(const std::uint8_t* data, std::uint32_t bytes, std::int32_t trigger,
               bool directToDisk, Piece& piece);
    // Makes a written piece part of the block: marks, overview and fill.
    void commit(const Piece& piece);
    // Closes the write handle, if open.
    void closeWrite(bool directToDisk);

    // Closes the write handle and reads `fill` bytes into the cache (no-op
    // when loaded). Throws RecException kind 1 "Cannot open temporary file"
    // or "Temorary File too short (<read> <fill>)...".
    void load();
    void unload();
    // Reads the file and draws its overview anew: a block taken over from an
    // earlier run has none. Throws as load() does.
    void rebuildOverview();
    bool loaded() const { return m_cache != nullptr; }
    // The loaded bytes (fill of them); null when not loaded.
    const std::uint8_t* data() const { return m_cache.get(); }

private:
    struct Share {
        std::int32_t count = 1;
    };

    TempSession& m_session;
    std::string m_fileName;
    std::int64_t m_number = 0;
    std::uint64_t m_fileIndex = 0;
    Share* m_share = nullptr; // count guarded by the session's block lock
    std::unique_ptr<std::uint8_t[]> m_cache;
    std::shared_ptr<Overview> m_overview;
    std::unique_ptr<BlockFile> m_writeHandle;
    std::uint32_t m_fill = 0;
    std::int32_t m_firstLoud = -1;
    std::int32_t m_lastLoud = -1;
    std::int32_t m_loudCount = 0;
};

} // namespace sorvella
