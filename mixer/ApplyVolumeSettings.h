#pragma once

#include "core/Prompter.h"
#include "platform/mixer/MixerDevice.h"

#include <string_view>

namespace sorvella {

enum class VolumeApplyResult {
    NothingToApply, // no items: the mixer was not opened
    Applied,        // the listed sources selected (alone, where the mixer allows) and set
    Rejected,       // a malformed text or an unusable mixer: nothing was changed
    PutBack,        // the mixer failed half-way; what it held before is back
    LeftChanged,    // it failed half-way and could not be put back either
};

// Sets the mixer of input device `soundCard` from a VolumeSettings text
// ("-v:0-80:2-55"). The whole text and every volume it names are checked
// before anything changes; the selection and those volumes are read first, so
// that a mixer failing half-way is put back as it was (each volume to the per
// cent it had). Failures are told
// through `prompter` under "Command line parsing": a malformed text with the
// wrong-arguments message, a mixer failure as "Sorry, could not set Mixer: "
// and its reason. Selecting a source the mixer cannot switch is no failure (a
// source without a switch records anyway). Main thread; never throws.
VolumeApplyResult applyVolumeSettings(std::string_view volumeSettings, int soundCard,
                                      MixerSystem& mixers, Prompter& prompter);

} // namespace sorvella
