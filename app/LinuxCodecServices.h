#pragma once

#include "save/InstalledCodecs.h"

namespace sorvella {

// The Linux services of the codecs: the compression manager over LAME and
// TwoLAME, encoder libraries through dlopen (beside the executable first),
// Windows Media through FFmpeg.
CodecServices linuxCodecServices();

} // namespace sorvella
