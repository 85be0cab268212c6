#pragma once

#include "core/WaveFormat.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sorvella {

// One block file of a journaled store: its number in the session directory
// (the base-36 name, see TempSession::fileNameFor) and the bytes it held.
struct JournalBlock {
    std::uint64_t index = 0;
    std::uint32_t fill = 0;
};

// What a recording's journal says: enough to find its sound in the block
// files after a crash. Text, one fact a line, closed by "end" so that a cut
// journal shows; full blocks with consecutive numbers are written as one run.
struct StoreJournal {
    static constexpr int kVersion = 1;
    static constexpr const char* kHeader = "Sorvella journal";
    // Runs longer than this are taken for garbage (it is over 2 TB of sound).
    static constexpr std::uint64_t kMaxBlocks = std::uint64_t{1} << 22;

    WaveFormat format;
    std::int64_t startMs = 0;      // wall-clock time of the recording's first byte
    std::int64_t skippedBytes = 0; // recorded before the first listed block (trimmed)
    std::string target;            // a save's target file; empty for a recording
    std::vector<JournalBlock> blocks;

    std::string text() const;

    struct Parsed;
    // Never throws: what cannot be read is said in `problem`, and the blocks
    // read before it are kept.
    static Parsed parse(std::string_view text);
};

struct StoreJournal::Parsed {
    StoreJournal journal;
    bool usable = false; // a journal of this version with its format
    std::string problem; // empty: read to its end
};

} // namespace sorvella
