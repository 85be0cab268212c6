#include "platform/audio/AlsaPcm.h"

#include "core/RecException.h"

#include <cstdint>

namespace sorvella {

std::string alsaReason(const std::string& device, const char* what, int error)
{
    return device + ": " + what + ": " + snd_strerror(error);
}

void checkAlsa(int result, const std::string& device, const char* what)
{
    if (result < 0) {
        throw RecException(RecException::OpenFailure, alsaReason(device, what, result));
    }
}

AlsaHwParams alsaFormatParameters(snd_pcm_t* pcm, const std::string& device,
                                  const WaveFormat& format)
{
    snd_pcm_hw_params_t* rawHw = nullptr;
    checkAlsa(snd_pcm_hw_params_malloc(&rawHw), device, "hardware parameters");
    AlsaHwParams hw(rawHw);
    checkAlsa(snd_pcm_hw_params_any(pcm, hw.get()), device, "no configuration");
    checkAlsa(snd_pcm_hw_params_set_access(pcm, hw.get(), SND_PCM_ACCESS_RW_INTERLEAVED), device,
              "interleaved access");
    checkAlsa(snd_pcm_hw_params_set_format(pcm, hw.get(), SND_PCM_FORMAT_S16_LE), device,
              "16-bit samples");
    checkAlsa(snd_pcm_hw_params_set_channels(pcm, hw.get(), format.channels), device,
              "channel count");
    checkAlsa(snd_pcm_hw_params_set_rate(pcm, hw.get(), format.samplesPerSec, 0), device,
              "sample rate");
    return hw;
}

snd_pcm_uframes_t applyAlsaPeriods(snd_pcm_t* pcm, const std::string& device,
                                   snd_pcm_hw_params_t* hw, snd_pcm_uframes_t ringFrames,
                                   snd_pcm_uframes_t periodFrames)
{
    checkAlsa(snd_pcm_hw_params_set_buffer_size_near(pcm, hw, &ringFrames), device, "buffer size");
    checkAlsa(snd_pcm_hw_params_set_period_size_near(pcm, hw, &periodFrames, nullptr), device,
              "period size");
    checkAlsa(snd_pcm_hw_params(pcm, hw), device, "applying the format");
    snd_pcm_uframes_t period = 0;
    checkAlsa(snd_pcm_hw_params_get_period_size(hw, &period, nullptr), device, "period size");
    return period;
}

snd_pcm_uframes_t configureAlsaPcm(snd_pcm_t* pcm, const std::string& device,
                                   const WaveFormat& format, unsigned ringMicroseconds,
                                   unsigned periodMicroseconds)
{
    const auto framesIn = [&format](unsigned microseconds) {
        return static_cast<snd_pcm_uframes_t>(std::uint64_t{format.samplesPerSec} * microseconds /
                                              1000000);
    };
    const AlsaHwParams hw = alsaFormatParameters(pcm, device, format);
    return applyAlsaPeriods(pcm, device, hw.get(), framesIn(ringMicroseconds),
                            framesIn(periodMicroseconds));
}

AlsaSwParams currentAlsaSwParams(snd_pcm_t* pcm, const std::string& device)
{
    snd_pcm_sw_params_t* raw = nullptr;
    checkAlsa(snd_pcm_sw_params_malloc(&raw), device, "software parameters");
    AlsaSwParams sw(raw);
    checkAlsa(snd_pcm_sw_params_current(pcm, sw.get()), device, "software parameters");
    return sw;
}

} // namespace sorvella
