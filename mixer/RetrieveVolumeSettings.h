#pragma once

#include "core/Prompter.h"
#include "platform/mixer/MixerDevice.h"

#include <string>

namespace sorvella {

// Reads which sources of input device `soundCard`'s mixer are selected and at
// which volumes, as a VolumeSettings text ("-v:0-80:2-55"). Tells the user
// through `prompter` what could not be read and never throws; empty when
// nothing could be read. Main thread.
std::string retrieveVolumeSettings(MixerSystem& mixers, int soundCard, Prompter& prompter);

} // namespace sorvella
