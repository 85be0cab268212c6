#pragma once

#include "editor/Playback.h"

namespace sorvella {

class WaveOutSystem;

// Editors that play through EditorPlayer on `output`, which outlives them.
PlaybackFactory playerPlayback(WaveOutSystem& output);

} // namespace sorvella
