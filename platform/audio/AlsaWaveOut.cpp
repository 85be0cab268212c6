#include "platform/audio/AlsaWaveOut.h"

#include "platform/audio/AlsaErrors.h"
#include "platform/audio/AlsaPcm.h"

#include <algorithm>
#include <cerrno>

namespace sorvella {
namespace {

// ALSA's own ring only bridges the play thread's polls (at most 200 ms
// apart, with room for a late one); the sound queued ahead lies in the play
// buffers. Longer periods would cost fewer wake-ups, but with them the
// server has lost the short first piece after a jump.
constexpr unsigned kRingMicroseconds = 500000;
constexpr unsigned kPeriodMicroseconds = 20000;
// The play thread queues five buffers; room for more, so write never
// allocates in the usual case.
constexpr std::size_t kUsualQueue = 8;

const char* const kDevice = "ALSA playback device \"default\"";

void configure(snd_pcm_t* pcm, const WaveFormat& format)
{
    configureAlsaPcm(pcm, kDevice, format, kRingMicroseconds, kPeriodMicroseconds);
    const AlsaSwParams sw = currentAlsaSwParams(pcm, kDevice);
    // Sound starts with the first frame written: the last piece of a
    // selection may be shorter than any threshold.
    checkAlsa(snd_pcm_sw_params_set_start_threshold(pcm, sw.get(), 1), kDevice, "start threshold");
    checkAlsa(snd_pcm_sw_params(pcm, sw.get()), kDevice, "applying software parameters");
}

class AlsaWaveOut : public WaveOut {
public:
    AlsaWaveOut(AlsaPcm pcm, std::uint32_t frameBytes)
        : m_pcm(std::move(pcm)), m_frameBytes(frameBytes)
    {
        m_queue.reserve(kUsualQueue);
    }

    ~AlsaWaveOut() override { snd_pcm_drop(m_pcm.get()); }

    AlsaWaveOut(const AlsaWaveOut&) = delete;
    AlsaWaveOut& operator=(const AlsaWaveOut&) = delete;

    void write(PlayBuffer& buffer) override
    {
        const std::uint64_t frames = buffer.length / m_frameBytes;
        m_queue.push_back({&buffer, m_queuedEnd, m_queuedEnd + frames});
        m_queuedEnd += frames;
        buffer.queued = true;
        poll();
    }

    void poll() override
    {
        try {
            feed();
            release(playedEnd());
        } catch (const RecException&) {
            reset();
            throw;
        }
    }

    void reset() noexcept override
    {
        snd_pcm_drop(m_pcm.get());
        snd_pcm_prepare(m_pcm.get());
        release(m_queuedEnd);
        m_fed = m_queuedEnd;
    }

private:
    // One written buffer's frames, counted from the device's opening.
    struct Queued {
        PlayBuffer* buffer;
        std::uint64_t begin;
        std::uint64_t end;
    };

    // Hands ALSA as much of the queued sound as its ring takes now.
    void feed()
    {
        while (m_fed < m_queuedEnd) {
            const Queued& piece = *std::find_if(m_queue.begin(), m_queue.end(),
                                                [this](const Queued& q) { return q.end > m_fed; });
            const std::uint8_t* from =
                piece.buffer->data.data() + (m_fed - piece.begin) * m_frameBytes;
            const snd_pcm_sframes_t written = snd_pcm_writei(
                m_pcm.get(), from, static_cast<snd_pcm_uframes_t>(piece.end - m_fed));
            if (written == -EAGAIN) {
                return;
            }
            if (written == -EPIPE) {
                // The ring ran dry: all fed before has been played.
                fail(snd_pcm_prepare(m_pcm.get()), "recovering from an underrun");
                continue;
            }
            fail(static_cast<int>(std::min<snd_pcm_sframes_t>(written, 0)), "playing");
            m_fed += static_cast<std::uint64_t>(written);
        }
    }

    // Frames played so far: those fed, less those ALSA still holds.
    std::uint64_t playedEnd()
    {
        const snd_pcm_state_t state = snd_pcm_state(m_pcm.get());
        if (state == SND_PCM_STATE_DISCONNECTED) {
            fail(-ENODEV, "playing");
        }
        // Not running: the ring ran dry (all played), or nothing was fed
        // since the last reset.
        snd_pcm_sframes_t delay = 0;
        const int result =
            state == SND_PCM_STATE_RUNNING ? snd_pcm_delay(m_pcm.get(), &delay) : -EPIPE;
        if (result == -EPIPE) {
            return m_fed;
        }
        fail(result, "reading the delay");
        const auto held = static_cast<std::uint64_t>(std::max<snd_pcm_sframes_t>(delay, 0));
        return m_fed - std::min(held, m_fed);
    }

    void release(std::uint64_t playedEnd)
    {
        auto played = m_queue.begin();
        for (; played != m_queue.end() && played->end <= playedEnd; ++played) {
            played->buffer->queued = false;
        }
        m_queue.erase(m_queue.begin(), played);
    }

    void fail(int result, const char* what) const
    {
        if (result < 0) {
            throw RecException(alsaReason(kDevice, what, result));
        }
    }

    AlsaPcm m_pcm;
    const std::uint32_t m_frameBytes;
    std::vector<Queued> m_queue;
    std::uint64_t m_queuedEnd = 0; // frames written by the play thread
    std::uint64_t m_fed = 0;       // frames handed to ALSA (or dropped by reset)
};

} // namespace

AlsaWaveOutSystem::AlsaWaveOutSystem()
{
    routeAlsaErrors();
}

std::unique_ptr<WaveOut> AlsaWaveOutSystem::open(const WaveFormat& format)
{
    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        throw RecException(RecException::OpenFailure, kWaveOutBusy);
    }
    AlsaPcm pcm(raw);
    try {
        configure(pcm.get(), format);
    } catch (const RecException&) {
        throw RecException(RecException::OpenFailure, kWaveOutBusy);
    }
    return std::make_unique<AlsaWaveOut>(std::move(pcm),
                                         std::max<std::uint32_t>(format.blockAlign, 1));
}

} // namespace sorvella
