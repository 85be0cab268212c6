#pragma once

#include "core/WaveFormat.h"

#include <alsa/asoundlib.h>

#include <memory>
#include <string>

namespace sorvella {

// The parts capture and playback share: the PCM handle, its software
// parameters, and the hardware format every PCM of ours is set to.

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using AlsaPcm = std::unique_ptr<snd_pcm_t, PcmCloser>;

struct SwParamsFree {
    void operator()(snd_pcm_sw_params_t* params) const { snd_pcm_sw_params_free(params); }
};
using AlsaSwParams = std::unique_ptr<snd_pcm_sw_params_t, SwParamsFree>;

// "<device>: <what>: <ALSA's reason>", where device names the PCM for the
// user, for instance "ALSA capture device \"default\"".
std::string alsaReason(const std::string& device, const char* what, int error);

// Throws RecException kind 2 with alsaReason when result is an error.
void checkAlsa(int result, const std::string& device, const char* what);

struct HwParamsFree {
    void operator()(snd_pcm_hw_params_t* params) const { snd_pcm_hw_params_free(params); }
};
using AlsaHwParams = std::unique_ptr<snd_pcm_hw_params_t, HwParamsFree>;

// Hardware parameters with interleaved 16-bit little-endian frames of
// exactly the format's channels and rate, not yet applied, so that a refused
// format fails here. Throws as checkAlsa.
AlsaHwParams alsaFormatParameters(snd_pcm_t* pcm, const std::string& device,
                                  const WaveFormat& format);

// Sets ALSA's ring and period near the given sizes, applies `hw` and returns
// the period in frames. Throws as checkAlsa.
snd_pcm_uframes_t applyAlsaPeriods(snd_pcm_t* pcm, const std::string& device,
                                   snd_pcm_hw_params_t* hw, snd_pcm_uframes_t ringFrames,
                                   snd_pcm_uframes_t periodFrames);

// The two above with the ring and period given as times.
snd_pcm_uframes_t configureAlsaPcm(snd_pcm_t* pcm, const std::string& device,
                                   const WaveFormat& format, unsigned ringMicroseconds,
                                   unsigned periodMicroseconds);

// The PCM's current software parameters, to be changed and applied.
AlsaSwParams currentAlsaSwParams(snd_pcm_t* pcm, const std::string& device);

} // namespace sorvella
