#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <utility>

namespace sorvella {

// The target files this process holds open, by file identity, so that a file
// is refused a second time even where flock() does not see the conflict
// (network file systems that emulate it with per-process record locks).
// Thread-safe.
class OpenTargetRegistry {
public:
    // Device and inode: one file under all of its names.
    using FileIdentity = std::pair<std::uint64_t, std::uint64_t>;

    // Marks the file as held. False, changing nothing, when it is held already.
    bool claim(FileIdentity file);

    // Marks a claimed file as no longer held.
    void release(FileIdentity file);

private:
    std::mutex m_mutex;
    std::set<FileIdentity> m_held;
};

} // namespace sorvella
