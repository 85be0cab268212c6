#include "platform/audio/BufferedWaveIn.h"

#include "platform/system/ThreadPriority.h"

#include <utility>

namespace sorvella {

void BufferedWaveIn::Queue::push(WaveBuffer& buffer)
{
    buffer.next = nullptr;
    if (m_tail == nullptr) {
        m_head = &buffer;
    } else {
        m_tail->next = &buffer;
    }
    m_tail = &buffer;
}

WaveBuffer* BufferedWaveIn::Queue::pop()
{
    WaveBuffer* buffer = m_head;
    m_head = buffer->next;
    if (m_head == nullptr) {
        m_tail = nullptr;
    }
    buffer->next = nullptr;
    return buffer;
}

BufferedWaveIn::BufferedWaveIn(std::unique_ptr<FrameSource> source, std::uint32_t frameBytes,
                               WaveInClient& client)
    : m_source(std::move(source)), m_frameBytes(frameBytes == 0 ? 1 : frameBytes), m_client(client)
{
    m_callbackThread = std::thread([this] { callbackLoop(); });
    try {
        m_captureThread = std::thread([this] {
            setCurrentThreadPriority(ThreadPriority::TimeCritical);
            captureLoop();
        });
    } catch (...) {
        endThreads();
        throw;
    }
}

BufferedWaveIn::~BufferedWaveIn()
{
    endThreads();
}

void BufferedWaveIn::endThreads() noexcept
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_source->interrupt();
    m_captureWake.notify_all();
    m_callbackWake.notify_all();
    if (m_captureThread.joinable()) {
        m_captureThread.join();
    }
    if (m_callbackThread.joinable()) {
        m_callbackThread.join();
    }
}

void BufferedWaveIn::addBuffer(WaveBuffer& buffer)
{
    if (buffer.data.empty() || buffer.data.size() % m_frameBytes != 0) {
        throw RecException("A capture buffer must hold a whole number of frames");
    }
    std::lock_guard lock(m_mutex);
    buffer.bytesRecorded = 0;
    m_queued.push(buffer);
    m_captureWake.notify_one();
}

void BufferedWaveIn::start()
{
    std::unique_lock lock(m_mutex);
    if (m_wantRunning) {
        return;
    }
    m_wantRunning = true;
    m_captureWake.notify_one();
    m_settled.wait(lock, [this] { return m_running == m_wantRunning; });
    if (m_startFailed) {
        m_startFailed = false;
        throw std::exchange(m_startError, RecException());
    }
}

void BufferedWaveIn::haltCapture(std::unique_lock<std::mutex>& lock)
{
    m_wantRunning = false;
    m_source->interrupt();
    m_captureWake.notify_one();
    m_settled.wait(lock, [this] { return !m_running; });
}

bool BufferedWaveIn::stop(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    haltCapture(lock);
    return m_settled.wait_for(lock, limit, [this] { return m_filled.empty() && !m_delivering; });
}

std::vector<WaveBuffer*> BufferedWaveIn::reset()
{
    std::unique_lock lock(m_mutex);
    haltCapture(lock);
    std::vector<WaveBuffer*> returned;
    while (!m_queued.empty()) {
        WaveBuffer* buffer = m_queued.pop();
        buffer->bytesRecorded = 0;
        returned.push_back(buffer);
    }
    return returned;
}

void BufferedWaveIn::captureLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_captureWake.wait(lock, [this] {
            return m_closing || m_wantRunning != m_running ||
                   (m_running && !m_sourceFailed && !m_queued.empty());
        });
        if (m_closing) {
            break;
        }
        if (m_wantRunning != m_running) {
            switchRunning(lock);
        } else {
            readIntoFront(lock);
        }
    }
    if (m_running) {
        m_running = false;
        lock.unlock();
        m_source->stop();
    }
}

// The source is driven from this thread only, so it needs no locking of its
// own (ALSA handles are not safe to share between threads).
void BufferedWaveIn::switchRunning(std::unique_lock<std::mutex>& lock)
{
    const bool starting = m_wantRunning;
    const std::size_t fillBytes = m_queued.empty() ? 0 : m_queued.front()->data.size();
    lock.unlock();
    bool failed = false;
    RecException error;
    if (starting) {
        try {
            m_source->start(fillBytes);
        } catch (const RecException& e) {
            failed = true;
            error = e;
        }
    } else {
        m_source->stop();
    }
    lock.lock();
    if (failed) {
        m_startFailed = true;
        m_startError = std::move(error);
        m_wantRunning = false;
    }
    m_running = starting && !failed;
    m_settled.notify_all();
}

// Only this thread takes buffers off m_queued while running, and reset()
// waits until it has stopped, so the front buffer is safe to fill unlocked.
void BufferedWaveIn::readIntoFront(std::unique_lock<std::mutex>& lock)
{
    WaveBuffer& buffer = *m_queued.front();
    const std::uint32_t filled = buffer.bytesRecorded;
    const std::size_t space = buffer.data.size() - filled;
    lock.unlock();
    FrameSource::Chunk chunk;
    bool failed = false;
    RecException fault;
    try {
        chunk = m_source->read(buffer.data.data() + filled, space, kReadWait);
    } catch (const RecException& e) {
        failed = true;
        fault = e;
    }
    lock.lock();
    if (failed) {
        m_sourceFailed = true;
        m_faultPending = true;
        m_sourceFault = std::move(fault);
        m_callbackWake.notify_one();
        return;
    }
    if (chunk.overrun) {
        ++m_unreportedOverruns;
        m_lastOverrunAt = m_capturedBytes;
        m_callbackWake.notify_one();
    }
    m_capturedBytes += static_cast<std::int64_t>(chunk.bytes);
    buffer.bytesRecorded = filled + static_cast<std::uint32_t>(chunk.bytes);
    if (buffer.bytesRecorded == buffer.data.size()) {
        m_filled.push(*m_queued.pop());
        m_callbackWake.notify_one();
    }
}

// The client is called unlocked; stop() waits until it has returned.
template <typename Call>
void BufferedWaveIn::deliver(std::unique_lock<std::mutex>& lock, const Call& call)
{
    m_delivering = true;
    lock.unlock();
    call();
    lock.lock();
    m_delivering = false;
    m_settled.notify_all();
}

void BufferedWaveIn::callbackLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_callbackWake.wait(lock, [this] {
            return m_closing || !m_filled.empty() || m_unreportedOverruns > 0 || m_faultPending;
        });
        if (m_closing) {
            return;
        }
        if (m_unreportedOverruns > 0) {
            const std::int64_t count = std::exchange(m_unreportedOverruns, 0);
            const std::int64_t position = m_lastOverrunAt;
            deliver(lock, [&] { m_client.soundLost(count, position); });
        } else if (m_faultPending) {
            m_faultPending = false;
            const RecException fault = m_sourceFault;
            deliver(lock, [&] { m_client.inputFault(fault); });
        } else {
            WaveBuffer* buffer = m_filled.pop();
            deliver(lock, [&] { m_client.bufferFilled(*buffer); });
        }
    }
}

} // namespace sorvella
