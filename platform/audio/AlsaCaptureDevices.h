#pragma once

#include <string>
#include <vector>

namespace sorvella {

// One ALSA capture PCM as the program numbers its input devices.
struct AlsaCaptureDevice {
    std::string pcmName;
    std::string description; // one line
};

// The PCMs from ALSA's device hints that capture (IOID "Input" or none),
// "null" left out, in hint order: input device n + 1 of the program is entry
// n; input device 0 is ALSA's "default". Any thread; reads the hints anew.
std::vector<AlsaCaptureDevice> alsaCaptureDevices();

// The control device (mixer) of input device `soundCard`: the card of its PCM
// ("hw:CARD=x"), the plugin's own name ("pulse"), or "default" for the
// default input and for a number without a device.
std::string alsaControlOf(int soundCard);

} // namespace sorvella
