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

// Sets interleaved 16-bit little-endian frames with exactly the format's
// channels and rate, ALSA's ring and period near the given times, and
// returns the period in frames. Throws as checkAlsa.
snd_pcm_uframes_t configureAlsaPcm(snd_pcm_t* pcm, const std::string& device,
                                   const WaveFormat& format, unsigned ringMicroseconds,
                                   unsigned periodMicroseconds);

// The PCM's current software parameters, to be changed and applied.
AlsaSwParams currentAlsaSwParams(snd_pcm_t* pcm, const std::string& device);

} // namespace sorvella
