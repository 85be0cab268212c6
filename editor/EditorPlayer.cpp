#include "editor/EditorPlayer.h"

#include "editor/FadeFilter.h"
#include "editor/PlayPacing.h"
#include "editor/PlaybackEvents.h"
#include "editor/WaveformMapping.h"
#include "engine/RingStore.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

namespace sorvella {

EditorPlayer::EditorPlayer(RingStore& store, const WaveFormat& format,
                           const WaveformMapping& mapping, WaveOutSystem& output,
                           PlaybackEvents& events)
    : m_store(store), m_format(format), m_mapping(mapping), m_output(output), m_events(events),
      m_buffers(kBufferCount, PlayBuffer(kPieceBytes))
{
}

EditorPlayer::~EditorPlayer()
{
    stopPlayback();
}

bool EditorPlayer::pressPlay(EditMode mode, bool playFaded, std::int32_t timingProfile)
{
    m_playFaded = playFaded;
    const std::int64_t held = m_store.heldBytes();
    const std::int64_t twoSeconds = 2 * static_cast<std::int64_t>(m_format.avgBytesPerSec);
    // The end goes first: the position is what a running thread jumps on.
    switch (mode) {
    case EditMode::AdjustStart:
        m_playEnd = std::min(m_mapping.selectionStart() + twoSeconds, held);
        m_playPosition = m_mapping.selectionStart();
        break;
    case EditMode::AdjustEnd:
        m_playEnd = m_mapping.selectionEnd();
        m_playPosition = std::max<std::int64_t>(m_mapping.selectionEnd() - twoSeconds, 0);
        break;
    case EditMode::Play:
        if (playing()) {
            stopPlayback();
            return false;
        }
        preparePlayFromStop();
        break;
    }
    if (playing()) {
        wake();
    } else {
        start(timingProfile);
    }
    return playing();
}

bool EditorPlayer::playAt(int x, bool playFaded, std::int32_t timingProfile)
{
    m_playFaded = playFaded;
    if (playing()) {
        m_playPosition = m_mapping.positionAt(x);
        wake();
    } else {
        preparePlayFromStop();
        m_playPosition = m_mapping.positionAt(x);
        start(timingProfile);
    }
    return playing();
}

void EditorPlayer::modeChangedToPlay()
{
    m_playEnd = -1;
}

void EditorPlayer::setPlayFaded(bool playFaded)
{
    m_playFaded = playFaded;
}

void EditorPlayer::stopPlayback()
{
    if (!m_thread.joinable()) {
        return;
    }
    const std::int64_t remembered = m_playPosition;
    m_playPosition = -1;
    wake();
    m_thread.join();
    m_playPosition = remembered;
}

std::optional<RecException> EditorPlayer::finish()
{
    // A late report of a playback that a newer one has replaced.
    if (m_running) {
        return std::nullopt;
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return std::exchange(m_error, std::nullopt);
}

bool EditorPlayer::playing() const
{
    return m_running;
}

std::int64_t EditorPlayer::playPosition() const
{
    return m_playPosition;
}

std::int64_t EditorPlayer::playEnd() const
{
    return m_playEnd;
}

void EditorPlayer::preparePlayFromStop()
{
    const std::int64_t position = m_playPosition;
    if (position < 0 || position >= m_store.heldBytes()) {
        m_playPosition = 0;
    }
    m_playEnd = -1;
    if (m_playFaded) {
        m_playPosition = m_mapping.selectionStart();
        m_playEnd = m_mapping.selectionEnd();
    }
}

void EditorPlayer::start(std::int32_t timingProfile)
{
    // A thread that ended by itself and was not reaped yet.
    if (m_thread.joinable()) {
        m_thread.join();
    }
    const ThreadPriority priority =
        timingProfile == 2 ? ThreadPriority::AboveNormal : ThreadPriority::Normal;
    {
        const std::lock_guard lock(m_wakeMutex);
        m_woken = false;
    }
    m_running = true;
    try {
        m_thread = std::thread(&EditorPlayer::playLoop, this, priority);
    } catch (const std::system_error& error) {
        m_running = false;
        throw RecException(std::string("Cannot start the play thread: ") + error.what());
    }
}

void EditorPlayer::wake()
{
    {
        const std::lock_guard lock(m_wakeMutex);
        m_woken = true;
    }
    m_wakeUp.notify_one();
}

void EditorPlayer::playLoop(ThreadPriority priority)
{
    setCurrentThreadPriority(priority);
    // No device holds a buffer of an earlier playback any more.
    for (PlayBuffer& buffer : m_buffers) {
        buffer.queued = false;
    }
    try {
        const std::unique_ptr<WaveOut> device = m_output.open(m_format);
        stream(*device);
    } catch (const RecException& error) {
        m_error = error;
    }
    m_events.cursorAt(-1);
    m_running = false;
    m_events.playbackEnded();
}

void EditorPlayer::stream(WaveOut& device)
{
    std::int64_t previous = 0;
    PlayPacing pacing(kPieceBytes, m_format.avgBytesPerSec);
    for (;;) {
        std::int64_t position = m_playPosition;
        std::int64_t end = m_playEnd;
        if (position != previous + kPieceBytes) {
            device.reset(); // the user moved: nothing queued before is heard
            pacing.reset();
        }
        const std::int64_t held = m_store.heldBytes();
        if (end < 0 || end > held) {
            end = held;
        }
        if (position < 0) {
            return;
        }
        const std::int64_t offset = position % kPieceBytes;
        const std::int64_t piece = position - offset;
        const std::int64_t expected = piece + kPieceBytes;
        previous = piece;
        if (!m_playPosition.compare_exchange_strong(position, expected)) {
            continue; // moved meanwhile
        }
        PlayBuffer* buffer = nullptr;
        switch (awaitBuffer(device, piece, end, expected, pacing, buffer)) {
        case Next::Jump:
            continue;
        case Next::End:
            return;
        case Next::Fill:
            break;
        }
        // piece < end <= held, so the store has the piece.
        const std::uint8_t* data = m_store.dataAt(piece);
        if (data == nullptr) {
            return;
        }
        fill(*buffer, data + offset, piece + offset,
             static_cast<std::int32_t>(kPieceBytes - offset), end);
        device.write(*buffer);
        pacing.written(PlayPacing::Clock::now());
    }
}

EditorPlayer::Next EditorPlayer::awaitBuffer(WaveOut& device, std::int64_t piece, std::int64_t end,
                                             std::int64_t expected, PlayPacing& pacing,
                                             PlayBuffer*& chosen)
{
    for (;;) {
        device.poll();
        int free = 0;
        chosen = nullptr;
        for (PlayBuffer& buffer : m_buffers) {
            if (!buffer.queued) {
                ++free;
                chosen = &buffer;
            }
        }
        const PlayPacing::Clock::time_point now = PlayPacing::Clock::now();
        pacing.looked(kBufferCount - free, now);
        if (piece < end && chosen != nullptr) {
            return m_playPosition == expected ? Next::Fill : Next::Jump;
        }
        // Every queued buffer is a piece ahead of what is heard.
        const std::int64_t heard = std::clamp<std::int64_t>(
            piece + kPieceBytes - (kBufferCount - free) * std::int64_t{kPieceBytes}, 0, end);
        m_events.cursorAt(m_mapping.pixelOf(heard));
        pause(pacing.pause(now));
        if (m_playPosition != expected) {
            return Next::Jump;
        }
        if (free == kBufferCount) {
            return Next::End; // everything queued has been heard
        }
    }
}

void EditorPlayer::fill(PlayBuffer& buffer, const std::uint8_t* data, std::int64_t from,
                        std::int32_t length, std::int64_t end) const
{
    // Bytes at or after the end are silence (and never read from the store).
    const auto audible = static_cast<std::size_t>(std::clamp<std::int64_t>(end - from, 0, length));
    std::memcpy(buffer.data.data(), data, audible);
    std::memset(buffer.data.data() + audible, 0, static_cast<std::size_t>(length) - audible);
    buffer.length = static_cast<std::uint32_t>(length);
    if (m_playFaded) {
        FadeFilter(m_mapping.fadeInBytes(), m_mapping.fadeOutBytes(), m_mapping.selectionStart(),
                   m_mapping.selectionEnd(), 100)
            .apply(from, buffer.data.data(), length);
    }
}

void EditorPlayer::pause(std::chrono::steady_clock::duration limit)
{
    std::unique_lock lock(m_wakeMutex);
    m_wakeUp.wait_for(lock, limit, [this] { return m_woken; });
    m_woken = false;
}

} // namespace sorvella
