#include "platform/audio/AlsaFrameSource.h"

#include "core/RecException.h"
#include "platform/audio/AlsaPcm.h"
#include "platform/system/Descriptor.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <vector>

namespace sorvella {
namespace {

// Wakes the capture thread's poll from any thread.
class WakeEvent {
public:
    WakeEvent() : m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

    int fd() const { return m_fd.get(); }
    void raise() const noexcept { ::eventfd_write(m_fd.get(), 1); }
    void clear() const noexcept
    {
        eventfd_t count = 0;
        ::eventfd_read(m_fd.get(), &count);
    }

private:
    const Descriptor m_fd;
};

// Capture wakes once per queued buffer: a recording's latency lies in the
// buffers anyway, and every period costs a wake-up here and in the sound
// server. Short buffers still get periods of at least this much.
constexpr unsigned kShortestPeriodMicroseconds = 20000;
// ALSA's own ring rides over a scheduling hiccup of the capture thread; the
// long cushion lies in the queued buffers.
constexpr unsigned kShortestRingMicroseconds = 500000;
constexpr snd_pcm_uframes_t kPeriodsInRing = 4;

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

// Returns the period size: the frames that end a wait.
snd_pcm_uframes_t applyPeriods(snd_pcm_t* pcm, const std::string& device, snd_pcm_hw_params_t* hw,
                               unsigned rate, snd_pcm_uframes_t fillFrames)
{
    const auto framesIn = [rate](unsigned microseconds) {
        return static_cast<snd_pcm_uframes_t>(std::uint64_t{rate} * microseconds / 1000000);
    };
    const snd_pcm_uframes_t period = std::max(fillFrames, framesIn(kShortestPeriodMicroseconds));
    const snd_pcm_uframes_t periodFrames = applyAlsaPeriods(
        pcm, device, hw, std::max(period * kPeriodsInRing, framesIn(kShortestRingMicroseconds)),
        period);
    const AlsaSwParams sw = currentAlsaSwParams(pcm, device);
    checkAlsa(snd_pcm_sw_params_set_avail_min(pcm, sw.get(), periodFrames), device, "wake-up size");
    checkAlsa(snd_pcm_sw_params(pcm, sw.get()), device, "applying software parameters");
    return periodFrames;
}

class AlsaFrameSource : public FrameSource {
public:
    AlsaFrameSource(AlsaPcm pcm, AlsaHwParams format, std::string device, unsigned rate,
                    std::uint32_t frameBytes)
        : m_pcm(std::move(pcm)), m_format(std::move(format)), m_device(std::move(device)),
          m_rate(rate), m_frameBytes(frameBytes)
    {
        const int count = snd_pcm_poll_descriptors_count(m_pcm.get());
        if (m_wake.fd() < 0 || count < 0) {
            throw RecException(RecException::OpenFailure, alsaReason(m_device, "poll descriptors",
                                                                     count < 0 ? count : -errno));
        }
        m_fds.resize(static_cast<std::size_t>(count) + 1);
    }

    void start(std::size_t fillBytes) override
    {
        if (m_format) {
            m_periodFrames = applyPeriods(m_pcm.get(), m_device, m_format.get(), m_rate,
                                          fillBytes / m_frameBytes);
            m_format.reset();
        }
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
        const int ready = waitForFrames(wait);
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

    void interrupt() noexcept override { m_wake.raise(); }

private:
    // As snd_pcm_wait, but interrupt() ends it early with 0. When the device
    // reports an error, 1: the read that follows meets the error.
    int waitForFrames(std::chrono::milliseconds wait)
    {
        const snd_pcm_sframes_t avail = snd_pcm_avail_update(m_pcm.get());
        if (avail < 0) {
            return static_cast<int>(avail);
        }
        if (static_cast<snd_pcm_uframes_t>(avail) >= m_periodFrames) {
            return 1;
        }
        const auto count = static_cast<unsigned>(m_fds.size() - 1);
        if (snd_pcm_poll_descriptors(m_pcm.get(), m_fds.data(), count) != static_cast<int>(count)) {
            return -EIO;
        }
        m_fds.back() = {m_wake.fd(), POLLIN, 0};
        if (::poll(m_fds.data(), m_fds.size(), static_cast<int>(wait.count())) <= 0) {
            return 0; // timed out, or a signal came: the caller reads again
        }
        if ((m_fds.back().revents & POLLIN) != 0) {
            m_wake.clear();
            return 0;
        }
        unsigned short revents = 0;
        const int result =
            snd_pcm_poll_descriptors_revents(m_pcm.get(), m_fds.data(), count, &revents);
        if (result < 0) {
            return result;
        }
        return revents != 0 ? 1 : 0;
    }

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
    AlsaHwParams m_format; // until the first start applies it
    const std::string m_device;
    const unsigned m_rate;
    const std::uint32_t m_frameBytes;
    snd_pcm_uframes_t m_periodFrames = 1;
    WakeEvent m_wake;
    std::vector<pollfd> m_fds; // the PCM's descriptors, then m_wake's
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
    AlsaHwParams hw = alsaFormatParameters(pcm.get(), device, format);
    return std::make_unique<AlsaFrameSource>(std::move(pcm), std::move(hw), std::move(device),
                                             format.samplesPerSec,
                                             std::max<std::uint32_t>(format.blockAlign, 1));
}

} // namespace sorvella
