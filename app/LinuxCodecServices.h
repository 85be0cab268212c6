#pragma once

#include "save/InstalledCodecs.h"

namespace sorvella {

// The Linux services of the codecs: the compression manager over LAME and
// TwoLAME, encoder libraries through dlopen (beside the executable, then in
// the installed private library folder),
// Windows Media through the FFmpeg module, loaded by the first save that needs it.
CodecServices linuxCodecServices();

} // namespace sorvella
