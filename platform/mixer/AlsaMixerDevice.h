#pragma once

#include "platform/mixer/MixerDevice.h"

#include <memory>
#include <string>

namespace sorvella {

// Opens the ALSA simple mixer of the control device `ctlName` ("default",
// "pulse", "hw:CARD=PCH"). Null when it cannot be attached or loaded.
//
// The destination is the "Capture" element; the sources are the other
// elements with a capture volume or a capture switch, so deselecting every
// source never mutes the input itself. The sources' capture switches form the
// multiple-select control; an enumerated "Input Source" or "Capture Source"
// element forms the single-select one. Volumes map the element's capture
// range linearly onto 0..65535; a read gives the loudest channel, a write sets
// every channel.
std::unique_ptr<MixerDevice> openAlsaMixer(const std::string& ctlName);

} // namespace sorvella
