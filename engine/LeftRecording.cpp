#include "engine/LeftRecording.h"

#include "engine/StoreJournal.h"
#include "engine/TempSession.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace sorvella {

namespace {

namespace fs = std::filesystem;

// The size of a block file; -1 when there is none.
std::int64_t sizeOf(const std::string& path)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

std::string blockPath(const std::string& dir, std::uint64_t index)
{
    return dir + "/" + std::to_string(TempSession::subdirectoryFor(index)) + "/" +
           TempSession::fileNameFor(index);
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string secondsText(std::int64_t bytes, const WaveFormat& format)
{
    return std::to_string(bytes / std::max<std::uint32_t>(format.avgBytesPerSec, 1)) + " s";
}

} // namespace

LeftRecording checkJournal(const std::string& sessionDir, const std::string& journalPath,
                           bool& readable)
{
    LeftRecording left;
    left.journalPath = journalPath;
    const StoreJournal::Parsed parsed = StoreJournal::parse(readText(journalPath));
    readable = parsed.usable;
    if (!parsed.problem.empty()) {
        left.problems.push_back(parsed.problem);
    }
    if (!parsed.usable) {
        return left;
    }
    const StoreJournal& journal = parsed.journal;
    left.format = journal.format;
    left.target = journal.target;
    const std::int64_t frame = std::max<std::uint16_t>(journal.format.blockAlign, 1);
    std::int64_t skipped = journal.skippedBytes;
    std::int64_t lostBytes = 0;
    for (std::size_t k = 0; k < journal.blocks.size(); ++k) {
        const JournalBlock& entry = journal.blocks[k];
        const bool last = k + 1 == journal.blocks.size();
        const std::string path = blockPath(sessionDir, entry.index);
        const std::int64_t size = std::min(sizeOf(path), StoreBlock::kSize);
        if (size < 0 && left.blocks.empty()) {
            skipped += entry.fill; // trimmed after the journal was written
            continue;
        }
        // The tail may have grown after the journal was written.
        const std::int64_t wanted = last ? std::max<std::int64_t>(size, entry.fill) : entry.fill;
        const std::int64_t usable = std::max<std::int64_t>(size, 0) / frame * frame;
        if (usable < wanted) {
            lostBytes += wanted - usable;
        }
        if (usable > 0) {
            left.blocks.push_back({path, static_cast<std::uint32_t>(std::min(usable, wanted))});
        }
    }
    if (lostBytes > 0) {
        left.problems.push_back(
            "Block files are missing or short: " + secondsText(lostBytes, journal.format) +
            " of the recording are lost.");
    }
    // Blocks begun after the journal's last writing follow its last one;
    // spare files made ahead are empty.
    std::uint64_t next = journal.blocks.empty() ? 0 : journal.blocks.back().index + 1;
    if (!journal.blocks.empty() && !left.blocks.empty() &&
        left.blocks.back().bytes == StoreBlock::kSize) {
        for (;; ++next) {
            const std::string path = blockPath(sessionDir, next);
            const std::int64_t size = std::min(sizeOf(path), StoreBlock::kSize) / frame * frame;
            if (size <= 0) {
                break;
            }
            left.blocks.push_back({path, static_cast<std::uint32_t>(size)});
            if (size < StoreBlock::kSize) {
                break;
            }
        }
    }
    left.startMs =
        journal.startMs +
        (journal.format.avgBytesPerSec == 0 ? 0 : skipped * 1000 / journal.format.avgBytesPerSec);
    return left;
}

} // namespace sorvella
