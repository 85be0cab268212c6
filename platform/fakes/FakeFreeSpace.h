#pragma once

#include "platform/files/FreeSpace.h"

#include <atomic>

namespace sorvella {

// A FreeSpace for tests: every path has the same settable space, or the
// query fails as on a network file system. Any thread.
class FakeFreeSpace : public FreeSpace {
public:
    void setAvailable(std::int64_t bytes) { m_bytes.store(bytes); }
    void failQueries() { m_bytes.store(kFailing); }

    std::optional<std::int64_t> available(const std::string& /*path*/) const override
    {
        const std::int64_t bytes = m_bytes.load();
        return bytes == kFailing ? std::nullopt : std::optional(bytes);
    }

private:
    static constexpr std::int64_t kFailing = -1;
    std::atomic<std::int64_t> m_bytes{std::int64_t{1} << 40};
};

} // namespace sorvella
