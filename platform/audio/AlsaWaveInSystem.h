#pragma once

#include "platform/audio/WaveIn.h"

namespace sorvella {

// The ALSA capture devices. The default device is ALSA's "default"; the
// numbered ones are the PCMs from ALSA's device hints that capture (IOID
// "Input" or none), "null" left out, named by the hint's description.
// Stateless: the list is read anew on each call.
class AlsaWaveInSystem : public WaveInSystem {
public:
    // Keeps ALSA's own error lines off standard error.
    AlsaWaveInSystem();

    std::vector<std::string> deviceNames() override;
    std::unique_ptr<WaveIn> open(int device, const WaveFormat& format,
                                 WaveInClient& client) override;
};

} // namespace sorvella
