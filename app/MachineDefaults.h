#pragma once

#include "core/Settings.h"

namespace sorvella {

// Puts the defaults that depend on the machine into `settings` before the
// stored settings are loaded: the target "recording.wav" in the user's
// documents folder and the system's temporary directory.
void applyMachineDefaults(Settings& settings);

} // namespace sorvella
