#pragma once

#include "platform/files/TargetFiles.h"

#include <cstdint>
#include <mutex>
#include <optional>

namespace sorvella {

// A TargetFiles for tests: passes every operation to a real implementation
// and injects faults on request. The controls may be called from any thread;
// the object must outlive the files it hands out.
class FaultTargetFiles : public TargetFiles {
public:
    explicit FaultTargetFiles(TargetFiles& real);
    ~FaultTargetFiles() override;

    // While set, create fails (returns null, touches nothing).
    void failCreates(bool fail) { setLocked(m_failCreates, fail); }

    // From now on files may grow by `bytesLeft` more bytes in all; a write that
    // grows a file beyond that is short (writes what fits). Overwriting bytes
    // a file already has needs no space, as on a real disk.
    void setDiskFull(std::int64_t bytesLeft = 0);

    // While set, writes fail with an error (-1) and write nothing.
    void failWrites(bool fail) { setLocked(m_failWrites, fail); }
    // While set, seek fails.
    void failSeeks(bool fail) { setLocked(m_failSeeks, fail); }
    // While set, close reports possible data loss (the file is closed anyway).
    void failCloses(bool fail) { setLocked(m_failCloses, fail); }

    // Writes that start at or beyond `position` store only their last byte and
    // leave a hole before it, so a test can make a sparse file of many GiB
    // without writing it. The file reports them as written whole.
    void leaveHolesFrom(std::int64_t position) { setLocked(m_holesFrom, std::optional(position)); }

    std::unique_ptr<TargetFile> create(const std::string& path) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;

private:
    class File;
    template <typename T> void setLocked(T& field, const T& value)
    {
        std::lock_guard lock(m_mutex);
        field = value;
    }

    friend class File;
    std::int64_t write(TargetFile& real, std::int64_t& position, std::int64_t& end,
                       const void* data, std::size_t bytes);
    bool seek(TargetFile& real, std::int64_t& position, std::int64_t to);
    bool close(TargetFile& real);

    TargetFiles& m_real;
    mutable std::mutex m_mutex;
    bool m_failCreates = false;
    std::optional<std::int64_t> m_spaceLeft;
    bool m_failWrites = false;
    bool m_failSeeks = false;
    bool m_failCloses = false;
    std::optional<std::int64_t> m_holesFrom;
};

} // namespace sorvella
