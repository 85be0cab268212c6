#include "platform/audio/AlsaPcm.h"

#include "core/RecException.h"

namespace sorvella {
namespace {

struct HwParamsFree {
    void operator()(snd_pcm_hw_params_t* params) const { snd_pcm_hw_params_free(params); }
};

} // namespace

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

snd_pcm_uframes_t configureAlsaPcm(snd_pcm_t* pcm, const std::string& device,
                                   const WaveFormat& format, unsigned ringMicroseconds,
                                   unsigned periodMicroseconds)
{
    snd_pcm_hw_params_t* rawHw = nullptr;
    checkAlsa(snd_pcm_hw_params_malloc(&rawHw), device, "hardware parameters");
    const std::unique_ptr<snd_pcm_hw_params_t, HwParamsFree> hw(rawHw);
    checkAlsa(snd_pcm_hw_params_any(pcm, hw.get()), device, "no configuration");
    checkAlsa(snd_pcm_hw_params_set_access(pcm, hw.get(), SND_PCM_ACCESS_RW_INTERLEAVED), device,
              "interleaved access");
    checkAlsa(snd_pcm_hw_params_set_format(pcm, hw.get(), SND_PCM_FORMAT_S16_LE), device,
              "16-bit samples");
    checkAlsa(snd_pcm_hw_params_set_channels(pcm, hw.get(), format.channels), device,
              "channel count");
    checkAlsa(snd_pcm_hw_params_set_rate(pcm, hw.get(), format.samplesPerSec, 0), device,
              "sample rate");
    unsigned ring = ringMicroseconds;
    checkAlsa(snd_pcm_hw_params_set_buffer_time_near(pcm, hw.get(), &ring, nullptr), device,
              "buffer time");
    unsigned period = periodMicroseconds;
    checkAlsa(snd_pcm_hw_params_set_period_time_near(pcm, hw.get(), &period, nullptr), device,
              "period time");
    checkAlsa(snd_pcm_hw_params(pcm, hw.get()), device, "applying the format");

    snd_pcm_uframes_t periodFrames = 0;
    checkAlsa(snd_pcm_hw_params_get_period_size(hw.get(), &periodFrames, nullptr), device,
              "period size");
    return periodFrames;
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
