#pragma once

#include "platform/mixer/MixerDevice.h"

namespace sorvella {

// The ALSA mixer of the card behind an input device. Input device n is the
// capture PCM n - 1 of ALSA's device hints, in the order the wave-in layer
// lists them; 0 and numbers without a device are ALSA's "default". A PCM on a
// card ("...:CARD=PCH,...") gives that card's mixer; any other PCM the control
// device of its own name ("pulse"). Without one the open fails: the levels of
// another card are never touched instead.
class AlsaMixerSystem : public MixerSystem {
public:
    // Keeps ALSA's own error lines off standard error.
    AlsaMixerSystem();

    std::unique_ptr<MixerDevice> open(int soundCard) override;
    std::string controlName(int soundCard) override;
};

} // namespace sorvella
