#pragma once

#include "engine/TempSession.h"
#include "tests/engine/StoreFixture.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace sorvella::test {

// A dead run's session directory, made by hand: blocks 0-2 full, block 3 half full,
// the sound a pattern running through them.
struct LeftCase {
    const char* name;
    std::string journal;
    int missingBlock = -1;                                       // deleted
    int shortBlock = -1;                                         // cut to 1000 bytes
    std::vector<std::pair<std::int64_t, std::int64_t>> expected; // (from, bytes) of the pattern
    bool problem = false;
    std::int64_t startMs = 1001000; // one second was trimmed before the journal's blocks
};

inline const std::string kAll = "blocks 0 4 262144\n";

inline std::string journalOf(const std::string& runs, const std::string& ending = "end\n")
{
    return "Sorvella journal 1\nformat 44100 2 16\nstart 1000000\nskipped 176400\n" + runs + ending;
}

inline void makeLeftDirectory(const std::string& dir, const LeftCase& c)
{
    for (int i = 0; i < TempSession::kSubdirectories; ++i) {
        std::filesystem::create_directories(dir + "/" + std::to_string(i));
    }
    std::ofstream(dir + "/lock.txt") << "";
    for (int k = 0; k < 4; ++k) {
        const auto bytes =
            pattern(k * StoreBlock::kSize, k == 3 ? StoreBlock::kSize / 2 : StoreBlock::kSize);
        const std::string path = dir + "/0/" + TempSession::fileNameFor(k);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(k == c.shortBlock ? 1000 : bytes.size()));
        if (k == c.missingBlock) {
            std::filesystem::remove(path);
        }
    }
    std::ofstream(dir + "/0/" + TempSession::fileNameFor(4)) << ""; // a spare
    std::ofstream(dir + "/journal-1-1.txt", std::ios::binary) << c.journal;
}

} // namespace sorvella::test
