#include "engine/SoundReader.h"

#include "core/LittleEndian.h"
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <new>

namespace sorvella {
namespace {

constexpr std::chrono::milliseconds kRequeueWait{1000};

void raise(std::atomic<std::int32_t>& peak, std::int32_t value)
{
    std::int32_t current = peak.load();
    while (current < value && !peak.compare_exchange_weak(current, value)) {
    }
}

} // namespace

SoundReader::SoundReader(RecordingOwner& owner, const Settings& settings, WaveInSystem& waveIn,
                         TempSession& session)
    : m_owner(owner), m_setup(readerSetup(settings))
{
    if (!m_setup.rateUsable) {
        throw RecException(RecException::OpenFailure, kOpenError);
    }
    const std::int32_t card = settings.soundCard;
    const int device = (card == 0 || inputDeviceName(waveIn, card).empty())
                           ? WaveInSystem::kDefaultDevice
                           : card - 1;
    try {
        m_device = waveIn.open(device, m_setup.format, *this);
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
        while (!m_returnedBuffers.empty()) {
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
    m_drained = m_device->stop(kStopLimit);
    if (!m_drained) {
        m_appendsEnded = true;
    }
    const std::vector<WaveBuffer*> dropped = m_device->reset();
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
    std::lock_guard lock(m_listLock);
    --m_queuedCount;
    m_returnedBuffers.push_back(&buffer);
    m_bufferReady.notify_all();
}

void SoundReader::inputFault(const RecException& fault) noexcept
{
    park(fault);
}

// A store failure must not stop recording: it waits for the main window.
void SoundReader::appendToStore(const WaveBuffer& buffer) noexcept
{
    if (!m_store || m_appendsEnded.load()) {
        return;
    }
    try {
        m_store->append(buffer.data.data(), buffer.bytesRecorded);
        const std::int32_t keep = m_owner.keepSeconds();
        if (keep > 0) {
            m_store->trimTo(static_cast<std::int64_t>(keep) * m_setup.format.avgBytesPerSec);
        }
    } catch (const RecException& error) {
        park(error);
    } catch (const std::exception& error) {
        park(RecException(error.what()));
    }
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
