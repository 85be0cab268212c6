#include "platform/fakes/FaultTargetFiles.h"

#include <algorithm>

namespace sorvella {

// A target file whose operations pass through the fault controls of its
// owner. It tracks its position and length to tell growth from overwriting.
class FaultTargetFiles::File : public TargetFile {
public:
    File(FaultTargetFiles& owner, std::unique_ptr<TargetFile> real)
        : m_owner(owner), m_real(std::move(real))
    {
    }

    std::int64_t write(const void* data, std::size_t bytes) override
    {
        return m_owner.write(*m_real, m_position, m_end, data, bytes);
    }

    bool seek(std::int64_t position) override
    {
        return m_owner.seek(*m_real, m_position, position);
    }

    bool close() override { return m_owner.close(*m_real); }

private:
    FaultTargetFiles& m_owner;
    std::unique_ptr<TargetFile> m_real;
    std::int64_t m_position = 0;
    std::int64_t m_end = 0;
};

FaultTargetFiles::FaultTargetFiles(TargetFiles& real) : m_real(real) {}

FaultTargetFiles::~FaultTargetFiles() = default;

void FaultTargetFiles::setDiskFull(std::int64_t bytesLeft)
{
    setLocked(m_spaceLeft, std::optional(std::max<std::int64_t>(bytesLeft, 0)));
}

std::unique_ptr<TargetFile> FaultTargetFiles::create(const std::string& path)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_failCreates) {
            return nullptr;
        }
    }
    auto real = m_real.create(path);
    if (!real) {
        return nullptr;
    }
    return std::make_unique<File>(*this, std::move(real));
}

bool FaultTargetFiles::remove(const std::string& path)
{
    return m_real.remove(path);
}

bool FaultTargetFiles::rename(const std::string& from, const std::string& to)
{
    return m_real.rename(from, to);
}

std::int64_t FaultTargetFiles::write(TargetFile& real, std::int64_t& position, std::int64_t& end,
                                     const void* data, std::size_t bytes)
{
    std::lock_guard lock(m_mutex);
    if (m_failWrites) {
        return -1;
    }
    auto allowed = static_cast<std::int64_t>(bytes);
    if (m_spaceLeft) {
        allowed = std::clamp<std::int64_t>(end + *m_spaceLeft - position, 0, allowed);
    }
    std::int64_t written = 0;
    if (m_holesFrom && position >= *m_holesFrom && allowed > 0) {
        const auto* last = static_cast<const char*>(data) + allowed - 1;
        if (real.seek(position + allowed - 1) && real.write(last, 1) == 1) {
            written = allowed;
        }
    } else {
        written = real.write(data, static_cast<std::size_t>(allowed));
    }
    if (written > 0) {
        position += written;
        const std::int64_t newEnd = std::max(end, position);
        if (m_spaceLeft) {
            *m_spaceLeft -= newEnd - end;
        }
        end = newEnd;
    }
    return written;
}

bool FaultTargetFiles::seek(TargetFile& real, std::int64_t& position, std::int64_t to)
{
    std::lock_guard lock(m_mutex);
    if (m_failSeeks || !real.seek(to)) {
        return false;
    }
    position = to;
    return true;
}

bool FaultTargetFiles::close(TargetFile& real)
{
    std::lock_guard lock(m_mutex);
    return real.close() && !m_failCloses;
}

} // namespace sorvella
