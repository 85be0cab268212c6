#pragma once

#include "core/WaveFormat.h"
#include "platform/audio/FrameSource.h"

#include <memory>
#include <string>

namespace sorvella {

// Opens the ALSA capture PCM `pcmName` (non-blocking) for interleaved 16-bit
// little-endian frames with exactly the format's channels and rate. Throws
// RecException kind 2: "device in use by another program" or "no capture
// device or sound server" when the PCM does not open, ALSA's reason when it
// refuses the format. Through the PulseAudio plugin any rate opens (the
// server resamples), so a rate the card lacks does not fail there.
//
// The format is applied at the first start, with one period per buffer that
// is filled (at least 20 ms) and a ring of four periods (at least 500 ms), so
// capture wakes once per buffer. The source reads with a bounded poll, counts -EPIPE overruns (and
// suspends) as lost sound and recovers from them at once.
std::unique_ptr<FrameSource> openAlsaCapture(const std::string& pcmName, const WaveFormat& format);

} // namespace sorvella
