#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sorvella {

// How much more the file system holding a path can take. Any thread; the
// query is one blocking system call (a network file system may take long),
// so it belongs on the main thread's timer, never on the capture path.
class FreeSpace {
public:
    virtual ~FreeSpace() = default;

    // Bytes an unprivileged user may still write on the file system of
    // `path` (a directory, or a file that need not exist yet: then its
    // directory is asked). Empty when the query fails: the space is unknown.
    virtual std::optional<std::int64_t> available(const std::string& path) const = 0;
};

} // namespace sorvella
