#include "engine/SoundReader.h"

#include "core/LittleEndian.h"
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <new>

namespace sorvella {
namespace {

constexpr std::chrono::milliseconds kRequeueWait{1000};

std::int64_t calendarNow() noexcept
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void raise(std::atomic<std::int32_t>& peak, std::int32_t value)
{
    std::int32_t current = peak.load();
    while (current < value && !peak.compare_exchange_weak(current, value)) {
    }
}

} // namespace

SoundReader::SoundReader(RecordingOwner& owner, const Settings& settings, WaveInSystem& waveIn,
                         TempSession& session)
    : m_owner(owner), m_setup(readerSetup(settings)), m_waveIn(waveIn),
      m_health(m_setup.format.avgBytesPerSec)
{
    if (!m_setup.rateUsable) {
        throw RecException(RecException::OpenFailure, kOpenError);
    }
    const std::int32_t card = settings.soundCard;
    m_deviceNumber = (card == 0 || inputDeviceName(waveIn, card).empty())
                         ? WaveInSystem::kDefaultDevice
                         : card - 1;
    try {
        m_device = waveIn.open(m_deviceNumber, m_setup.format, *this);
    } catch (const RecException& error) {
        RecException failure(RecException::OpenFailure, kOpenError);
        failure.setCause(error.message());
        throw failure;
    }
    allocateBuffers();
    queueBuffers();
    m_store = std::make_unique<RingStore>(settings, session);
    m_store->keepJournal(m_setup.format);
    try {
        m_device->start();
    } catch (const RecException&) {
        throw RecException(RecException::OpenFailure, kStartError);
    }
    // Normal priority: the device's own capture thread is the time-critical
    // one, and it fills queued buffers without waiting for this thread.
    m_requeueThread = std::thread([this] { requeueLoop(); });
}

SoundReader::~SoundReader()
{
    if (m_state.load() == Running) {
        m_owner.prompter().tell("Error: ~SoundReader without stopped Reader");
    }
    shutDown();
}

void SoundReader::allocateBuffers()
{
    try {
        m_buffers.reserve(m_setup.kernelBufferCount);
        for (std::uint32_t i = 0; i < m_setup.kernelBufferCount; ++i) {
            m_buffers.emplace_back(m_setup.kernelBufferSize);
        }
        m_returnedBuffers.reserve(m_setup.kernelBufferCount);
    } catch (const std::bad_alloc&) {
        throw RecException(RecException::OpenFailure, kAllocateError);
    }
}

// A buffer the device refuses is released at once, so that stopping never
// waits for a buffer that was never queued.
void SoundReader::queueBuffers()
{
    for (WaveBuffer& buffer : m_buffers) {
        try {
            m_device->addBuffer(buffer);
            ++m_preparedCount;
            ++m_queuedCount;
        } catch (const RecException&) {
            m_owner.prompter().tell(kAddBufferPanic);
        }
    }
    if (m_queuedCount.load() == 0) {
        throw RecException(RecException::OpenFailure, kStartError);
    }
}

void SoundReader::requeueLoop()
{
    std::unique_lock lock(m_listLock);
    for (;;) {
        // Buffers returned by a failed device wait for the next one.
        while (!m_returnedBuffers.empty() && !(m_deviceDown.load() && m_state.load() == Running)) {
            WaveBuffer* buffer = m_returnedBuffers.back();
            m_returnedBuffers.pop_back();
            if (m_state.load() == Running) {
                requeueLocked(*buffer);
            } else {
                --m_preparedCount;
            }
        }
        if (m_endRequeue || (m_state.load() != Running && m_preparedCount.load() == 0)) {
            break;
        }
        m_bufferReady.wait_for(lock, kRequeueWait);
    }
    m_bufferReady.wait(lock, [this] { return m_endRequeue || m_state.load() != StopRequested; });
    m_state = Stopped;
    m_stopped.notify_all();
}

// Under the list lock, so that stop() cannot slip in between the state check
// and the hand-over and leave a buffer queued after the device's reset.
void SoundReader::requeueLocked(WaveBuffer& buffer)
{
    try {
        m_device->addBuffer(buffer);
        ++m_queuedCount;
    } catch (const RecException&) {
        --m_preparedCount;
        park(RecException(kAddBufferPanic));
    }
}

void SoundReader::stop()
{
    {
        std::lock_guard lock(m_listLock);
        if (m_state.load() != Running) {
            return;
        }
        m_state = StopRequested;
    }
    // The device hands every buffer it has filled to the callback, which
    // appends it, before it stops; only the partly filled one is dropped. A
    // disk that stalls an append is waited for no longer than the limit:
    // what was appended by then is kept, and later buffers are not appended.
    m_drained = m_device ? m_device->stop(kStopLimit) : true;
    if (!m_drained) {
        m_appendsEnded = true;
    }
    const std::vector<WaveBuffer*> dropped =
        m_device ? m_device->reset() : std::vector<WaveBuffer*>{};
    {
        std::lock_guard lock(m_listLock);
        m_preparedCount -= static_cast<std::int32_t>(dropped.size());
        m_queuedCount -= static_cast<std::int32_t>(dropped.size());
        m_state = Stopping;
        m_bufferReady.notify_all();
    }
    if (!m_drained) {
        m_owner.prompter().tell(kStopError);
        return;
    }
    waitForStopped();
    if (m_store) {
        m_store->endRecording();
    }
}

bool SoundReader::waitForStopped()
{
    std::unique_lock lock(m_listLock);
    return m_stopped.wait_for(lock, kStopLimit, [this] { return m_state.load() == Stopped; });
}

void SoundReader::shutDown()
{
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    stop();
    if (!waitForStopped()) {
        m_owner.prompter().tell("Warning SoundReader Delete: " +
                                std::to_string(m_queuedCount.load()) + " Buffers remaining");
    }
    m_device.reset();
    {
        std::lock_guard lock(m_listLock);
        m_endRequeue = true;
        m_bufferReady.notify_all();
    }
    if (m_requeueThread.joinable()) {
        m_requeueThread.join();
    }
}

bool SoundReader::reopenDevice()
{
    if (m_state.load() != Running || !m_deviceDown.load()) {
        return false;
    }
    // A card held open by its dead handle would refuse the new one.
    if (!closeDevice()) {
        return false;
    }
    std::unique_ptr<WaveIn> device;
    try {
        device = m_waveIn.open(m_deviceNumber, m_setup.format, *this);
    } catch (const RecException&) {
        return false; // still missing: the next attempt will tell
    }
    m_streamBase = m_store ? m_store->totalBytes() : 0;
    {
        std::lock_guard lock(m_listLock);
        m_device = std::move(device);
        for (WaveBuffer* buffer : m_returnedBuffers) {
            requeueLocked(*buffer);
        }
        m_returnedBuffers.clear();
    }
    try {
        m_device->start();
    } catch (const RecException&) {
        closeDevice();
        return false;
    }
    {
        std::lock_guard lock(m_listLock);
        m_deviceDown = false;
        m_bufferReady.notify_all();
    }
    m_health.deviceBack(m_streamBase);
    return true;
}

// Takes every buffer back from the failed device and closes it; the buffers
// wait for the next one. False, with the device left open, while the sound of
// those it had filled is still being appended (a stalled disk): the main
// thread does not wait for that.
bool SoundReader::closeDevice()
{
    if (!m_device) {
        return true;
    }
    if (!m_device->stop(std::chrono::milliseconds(0))) {
        return false;
    }
    const std::vector<WaveBuffer*> dropped = m_device->reset();
    std::unique_ptr<WaveIn> closing;
    {
        std::lock_guard lock(m_listLock);
        m_queuedCount -= static_cast<std::int32_t>(dropped.size());
        m_returnedBuffers.insert(m_returnedBuffers.end(), dropped.begin(), dropped.end());
        closing = std::move(m_device);
    }
    // Joins its callback thread, which may be waiting for the list lock.
    closing.reset();
    return true;
}

std::unique_ptr<RingStore> SoundReader::detachStore()
{
    if (!m_drained) {
        return snapshotStore();
    }
    return std::move(m_store);
}

std::unique_ptr<RingStore> SoundReader::snapshotStore()
{
    return m_store ? m_store->snapshot() : nullptr;
}

std::int64_t SoundReader::heldBytes() const
{
    const RingStore* attached = m_store.get();
    return attached ? attached->heldBytes() : 0;
}

std::int64_t SoundReader::recordedSeconds() const
{
    return heldBytes() / m_setup.format.avgBytesPerSec;
}

std::int64_t SoundReader::unstoredSeconds() const
{
    return m_unstoredBytes.load(std::memory_order_relaxed) / m_setup.format.avgBytesPerSec;
}

std::int64_t SoundReader::totalSeconds() const
{
    const RingStore* attached = m_store.get();
    return attached ? attached->totalBytes() / m_setup.format.avgBytesPerSec : 0;
}

void SoundReader::takePeaks(std::int32_t& left, std::int32_t& right)
{
    left = m_peakLeft.exchange(-1);
    right = m_peakRight.exchange(-1);
}

RecException SoundReader::claimPendingError()
{
    std::lock_guard lock(m_pendingLock);
    const std::int32_t kind = m_pendingError.kind();
    if (kind == RecException::None || kind == RecException::Showing) {
        return RecException();
    }
    RecException shown = m_pendingError;
    m_pendingError.setKind(RecException::Showing);
    return shown;
}

void SoundReader::clearPendingError()
{
    std::lock_guard lock(m_pendingLock);
    m_pendingError = RecException();
}

std::string SoundReader::inputDeviceName(WaveInSystem& waveIn, std::int32_t index)
{
    if (index == 0) {
        return kDefaultDeviceName;
    }
    if (index < 0) {
        return {};
    }
    const std::vector<std::string> names = waveIn.deviceNames();
    if (static_cast<std::size_t>(index) > names.size()) {
        return {};
    }
    return names[static_cast<std::size_t>(index) - 1];
}

void SoundReader::bufferFilled(WaveBuffer& buffer) noexcept
{
    appendToStore(buffer);
    raisePeaks(buffer);
    m_health.scan(buffer.data.data(), buffer.bytesRecorded);
    std::lock_guard lock(m_listLock);
    --m_queuedCount;
    m_returnedBuffers.push_back(&buffer);
    m_bufferReady.notify_all();
}

void SoundReader::soundLost(std::int64_t count, std::int64_t position) noexcept
{
    m_health.countDropouts(count, m_streamBase + position, calendarNow());
}

// The store keeps what it holds; the main thread reopens the input.
void SoundReader::inputFault(const RecException& fault) noexcept
{
    {
        std::lock_guard lock(m_pendingLock);
        m_lossReason = fault.message();
    }
    {
        std::lock_guard lock(m_listLock);
        m_deviceDown = true;
    }
    m_health.deviceLost(calendarNow());
}

std::string SoundReader::deviceLossReason() const
{
    std::lock_guard lock(m_pendingLock);
    return m_lossReason;
}

// A store failure must not stop recording: it waits for the main window.
void SoundReader::appendToStore(const WaveBuffer& buffer) noexcept
{
    if (!m_store || m_appendsEnded.load()) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_diskFull.load(std::memory_order_relaxed) && now < m_nextAppendTry) {
        m_unstoredBytes.fetch_add(buffer.bytesRecorded, std::memory_order_relaxed);
        return;
    }
    try {
        const std::int64_t before = m_store->totalBytes();
        const bool stored = m_store->append(buffer.data.data(), buffer.bytesRecorded);
        const std::int32_t keep = m_owner.keepSeconds();
        if (!stored) {
            pauseForSpace(buffer.bytesRecorded - (m_store->totalBytes() - before), keep > 0, now);
            return;
        }
        m_droppedForRoom = false;
        m_diskFull.store(false);
        if (keep > 0) {
            m_store->trimTo(static_cast<std::int64_t>(keep) * m_setup.format.avgBytesPerSec);
        }
    } catch (const RecException& error) {
        park(error);
    } catch (const std::exception& error) {
        park(RecException(error.what()));
    }
}

// A loop gives up its oldest block once, whose file the next buffer may fill
// as soon as the file thread has deleted it; when that does not make room,
// the recording pauses.
void SoundReader::pauseForSpace(std::int64_t unstored, bool loop,
                                std::chrono::steady_clock::time_point now) noexcept
{
    m_unstoredBytes.fetch_add(unstored, std::memory_order_relaxed);
    if (loop && !m_droppedForRoom && m_store->dropOldestForRoom()) {
        m_droppedForRoom = true;
        return;
    }
    m_nextAppendTry = now + kDiskFullRetry;
    m_diskFull.store(true);
}

void SoundReader::raisePeaks(const WaveBuffer& buffer) noexcept
{
    std::int32_t peaks[2] = {0, 0}; // even samples, odd samples
    const std::uint8_t* bytes = buffer.data.data();
    const std::uint32_t samples = buffer.bytesRecorded / 2;
    for (std::uint32_t i = 0; i < samples; ++i) {
        const std::int16_t sample = le::sample(bytes + 2 * i);
        peaks[i & 1] =
            std::max<std::int32_t>(peaks[i & 1], std::abs(static_cast<std::int32_t>(sample)));
    }
    if (m_setup.format.channels == 1) {
        peaks[0] = peaks[1] = std::max(peaks[0], peaks[1]);
    }
    raise(m_peakLeft, peaks[0]);
    raise(m_peakRight, peaks[1]);
}

void SoundReader::park(const RecException& error) noexcept
{
    std::lock_guard lock(m_pendingLock);
    if (m_pendingError.kind() == RecException::Showing) {
        return;
    }
    m_pendingError = error;
    if (m_pendingError.kind() == RecException::None) {
        m_pendingError.setKind(RecException::Failure);
    }
}

} // namespace sorvella
