#pragma once

#include "platform/audio/WaveOut.h"

namespace sorvella {

// Playback through ALSA's "default" PCM (the desktop's sound server, through
// its plugin). The device feeds ALSA's ring from the queued buffers without
// blocking and counts a buffer played once ALSA's delay has passed its last
// frame; the ring running dry between pieces is an underrun it recovers from
// at the next write.
class AlsaWaveOutSystem : public WaveOutSystem {
public:
    // Keeps ALSA's own error lines off standard error.
    AlsaWaveOutSystem();

    std::unique_ptr<WaveOut> open(const WaveFormat& format) override;
};

} // namespace sorvella
