#include "platform/audio/AlsaFrameSource.h"

#include "core/RecException.h"
#include "platform/audio/AlsaPcm.h"

#include <algorithm>
#include <cerrno>

namespace sorvella {
namespace {

// Enough room in ALSA's own ring to ride over a scheduling hiccup of the
// capture thread; the long cushion lies in the queued buffers.
constexpr unsigned kRingMicroseconds = 500000;
constexpr unsigned kPeriodMicroseconds = 20000;

// Why a PCM did not open, as the user can act on it: another program holds
// the device, or there is nothing to record from (no such device, no sound
// server behind the plugin).
std::string openFailure(int error)
{
    return error == -EBUSY || error == -EAGAIN ? "device in use by another program"
                                               : "no capture device or sound server";
}

std::string captureDevice(const std::string& pcmName)
{
    return "ALSA capture device \"" + pcmName + "\"";
}

void configure(snd_pcm_t* pcm, const std::string& device, const WaveFormat& format)
{
    const snd_pcm_uframes_t periodFrames =
        configureAlsaPcm(pcm, device, format, kRingMicroseconds, kPeriodMicroseconds);
    const AlsaSwParams sw = currentAlsaSwParams(pcm, device);
    checkAlsa(snd_pcm_sw_params_set_avail_min(pcm, sw.get(), periodFrames), device, "wake-up size");
    checkAlsa(snd_pcm_sw_params(pcm, sw.get()), device, "applying software parameters");
}

class AlsaFrameSource : public FrameSource {
public:
    AlsaFrameSource(AlsaPcm pcm, std::string device, std::uint32_t frameBytes)
        : m_pcm(std::move(pcm)), m_device(std::move(device)), m_frameBytes(frameBytes)
    {
    }

    void start() override
    {
        const int result = snd_pcm_start(m_pcm.get());
        if (result < 0) {
            throw RecException(RecException::OpenFailure, alsaReason(m_device, "start", result));
        }
    }

    void stop() noexcept override
    {
        snd_pcm_drop(m_pcm.get());
        snd_pcm_prepare(m_pcm.get());
    }

    Chunk read(std::uint8_t* dest, std::size_t bytes, std::chrono::milliseconds wait) override
    {
        const int ready = snd_pcm_wait(m_pcm.get(), static_cast<int>(wait.count()));
        if (ready == 0) {
            return {};
        }
        if (ready < 0) {
            return recover(ready);
        }
        const snd_pcm_sframes_t frames = snd_pcm_readi(m_pcm.get(), dest, bytes / m_frameBytes);
        if (frames == -EAGAIN) {
            return {};
        }
        if (frames < 0) {
            return recover(static_cast<int>(frames));
        }
        return {static_cast<std::size_t>(frames) * m_frameBytes, false};
    }

private:
    // An overrun or a suspend: the sound in between is lost; capture goes on.
    Chunk recover(int error)
    {
        if (error != -EPIPE && error != -ESTRPIPE) {
            throw RecException(alsaReason(m_device, "reading failed", error));
        }
        int result = snd_pcm_recover(m_pcm.get(), error, 1);
        if (result >= 0) {
            result = snd_pcm_start(m_pcm.get());
        }
        if (result < 0) {
            throw RecException(alsaReason(m_device, "recovering from an overrun failed", result));
        }
        return {0, true};
    }

    AlsaPcm m_pcm;
    const std::string m_device;
    const std::uint32_t m_frameBytes;
};

} // namespace

std::unique_ptr<FrameSource> openAlsaCapture(const std::string& pcmName, const WaveFormat& format)
{
    snd_pcm_t* raw = nullptr;
    const int opened =
        snd_pcm_open(&raw, pcmName.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (opened < 0) {
        throw RecException(RecException::OpenFailure, openFailure(opened));
    }
    AlsaPcm pcm(raw);
    std::string device = captureDevice(pcmName);
    configure(pcm.get(), device, format);
    return std::make_unique<AlsaFrameSource>(std::move(pcm), std::move(device),
                                             std::max<std::uint32_t>(format.blockAlign, 1));
}

} // namespace sorvella
