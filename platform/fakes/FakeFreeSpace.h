#pragma once

#include "platform/files/FreeSpace.h"

#include <atomic>
#include <mutex>

namespace sorvella {

// A FreeSpace for tests: every path has the same settable space, or the
// query fails as on a network file system. Any thread.
class FakeFreeSpace : public FreeSpace {
public:
    void setAvailable(std::int64_t bytes) { m_bytes.store(bytes); }
    void failQueries() { m_bytes.store(kFailing); }

    std::int64_t queries() const { return m_queries.load(); }
    std::string lastPath() const
    {
        std::lock_guard lock(m_mutex);
        return m_lastPath;
    }

    std::optional<std::int64_t> available(const std::string& path) const override
    {
        {
            std::lock_guard lock(m_mutex);
            m_lastPath = path;
        }
        ++m_queries;
        const std::int64_t bytes = m_bytes.load();
        return bytes == kFailing ? std::nullopt : std::optional(bytes);
    }

private:
    static constexpr std::int64_t kFailing = -1;
    std::atomic<std::int64_t> m_bytes{std::int64_t{1} << 40};
    mutable std::atomic<std::int64_t> m_queries{0};
    mutable std::mutex m_mutex;
    mutable std::string m_lastPath;
};

} // namespace sorvella
