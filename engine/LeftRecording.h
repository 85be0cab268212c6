#pragma once

#include "core/WaveFormat.h"
#include "engine/StoreBlock.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sorvella {

// Sound that a run left in its block files when it ended without closing its
// session (a crash, a kill, a power cut), as its journal and the files' sizes
// show it. Nothing of the sound itself is read to find it.
struct LeftRecording {
    std::string journalPath;
    WaveFormat format;
    std::int64_t startMs = 0;          // wall-clock time of its first recovered byte
    std::string target;                // a save that was running: the file it wrote
    std::vector<HeldBlockFile> blocks; // in order; every byte that reached them
    std::vector<std::string> problems; // what could not be recovered, for the user
    std::string keptCutSave;           // a cut save's target, renamed to this name

    std::int64_t bytes() const
    {
        std::int64_t total = 0;
        for (const HeldBlockFile& block : blocks) {
            total += block.bytes;
        }
        return total;
    }
    std::int64_t lengthMs() const
    {
        return format.avgBytesPerSec == 0 ? 0 : bytes() * 1000 / format.avgBytesPerSec;
    }
};

// Reads one journal against the block files beside it: what is consistent is
// recovered, what is not is said. Never throws. `readable` is false when the
// journal cannot be used at all (then the recording holds nothing).
LeftRecording checkJournal(const std::string& sessionDir, const std::string& journalPath,
                           bool& readable);

} // namespace sorvella
