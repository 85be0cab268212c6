#include "platform/files/StatvfsFreeSpace.h"

#include <sys/statvfs.h>

namespace sorvella {
namespace {

std::optional<std::int64_t> query(const std::string& path)
{
    struct statvfs info {};
    if (path.empty() || ::statvfs(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
}

} // namespace

// A save's target does not exist before the save: its directory tells.
std::optional<std::int64_t> StatvfsFreeSpace::available(const std::string& path) const
{
    if (const auto bytes = query(path)) {
        return bytes;
    }
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return query(".");
    }
    return query(slash == 0 ? std::string("/") : path.substr(0, slash));
}

} // namespace sorvella
