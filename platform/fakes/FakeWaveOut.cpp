#include "platform/fakes/FakeWaveOut.h"

#include <algorithm>

namespace sorvella {

class FakeWaveOutSystem::Device : public WaveOut {
public:
    explicit Device(FakeWaveOutSystem& system) : m_system(system) {}
    ~Device() override { m_system.close(); }

    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    void write(PlayBuffer& buffer) override { m_system.write(buffer); }
    void poll() override { m_system.poll(); }
    void reset() noexcept override { m_system.reset(); }

private:
    FakeWaveOutSystem& m_system;
};

void FakeWaveOutSystem::failOpens(bool fail)
{
    const std::lock_guard lock(m_mutex);
    m_failOpens = fail;
}

void FakeWaveOutSystem::failWritesAfter(int count)
{
    const std::lock_guard lock(m_mutex);
    m_writesLeft = count;
}

void FakeWaveOutSystem::advance(std::chrono::milliseconds elapsed)
{
    const std::lock_guard lock(m_mutex);
    const std::uint32_t frame = std::max<std::uint32_t>(m_format.blockAlign, 1);
    std::uint64_t bytes = m_format.avgBytesPerSec * static_cast<std::uint64_t>(elapsed.count()) /
                          1000 / frame * frame;
    for (Queued& queued : m_queue) {
        const std::uint32_t take = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(bytes, queued.buffer->length - queued.playedBytes));
        const auto from = queued.buffer->data.begin() + queued.playedBytes;
        m_played.insert(m_played.end(), from, from + take);
        queued.playedBytes += take;
        bytes -= take;
    }
}

int FakeWaveOutSystem::openCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_openCount;
}

bool FakeWaveOutSystem::isOpen() const
{
    const std::lock_guard lock(m_mutex);
    return m_open;
}

WaveFormat FakeWaveOutSystem::lastFormat() const
{
    const std::lock_guard lock(m_mutex);
    return m_format;
}

int FakeWaveOutSystem::resetCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_resetCount;
}

std::vector<std::uint8_t> FakeWaveOutSystem::written() const
{
    const std::lock_guard lock(m_mutex);
    return m_written;
}

std::vector<std::uint8_t> FakeWaveOutSystem::played() const
{
    const std::lock_guard lock(m_mutex);
    return m_played;
}

std::size_t FakeWaveOutSystem::queuedBuffers() const
{
    const std::lock_guard lock(m_mutex);
    return m_queue.size();
}

std::unique_ptr<WaveOut> FakeWaveOutSystem::open(const WaveFormat& format)
{
    const std::lock_guard lock(m_mutex);
    if (m_failOpens || m_open) {
        throw RecException(RecException::OpenFailure, kWaveOutBusy);
    }
    m_open = true;
    m_gone = false;
    ++m_openCount;
    m_format = format;
    return std::make_unique<Device>(*this);
}

void FakeWaveOutSystem::write(PlayBuffer& buffer)
{
    const std::lock_guard lock(m_mutex);
    if (m_writesLeft == 0) {
        m_gone = true;
    }
    checkPresent();
    if (m_writesLeft > 0) {
        --m_writesLeft;
    }
    m_written.insert(m_written.end(), buffer.data.begin(), buffer.data.begin() + buffer.length);
    m_queue.push_back({&buffer, 0});
    buffer.queued = true;
}

void FakeWaveOutSystem::poll()
{
    const std::lock_guard lock(m_mutex);
    checkPresent();
    while (!m_queue.empty() && m_queue.front().playedBytes == m_queue.front().buffer->length) {
        m_queue.front().buffer->queued = false;
        m_queue.pop_front();
    }
}

void FakeWaveOutSystem::reset() noexcept
{
    const std::lock_guard lock(m_mutex);
    ++m_resetCount;
    dropQueue();
}

void FakeWaveOutSystem::close() noexcept
{
    const std::lock_guard lock(m_mutex);
    dropQueue();
    m_open = false;
}

void FakeWaveOutSystem::dropQueue() noexcept
{
    for (const Queued& queued : m_queue) {
        queued.buffer->queued = false;
    }
    m_queue.clear();
}

// A gone device frees every buffer, as the real one does, and says so.
void FakeWaveOutSystem::checkPresent()
{
    if (m_gone) {
        dropQueue();
        throw RecException("Fake wave out: the device is gone");
    }
}

} // namespace sorvella
