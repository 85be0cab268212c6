#pragma once

#include "core/Prompter.h"

#include <ostream>

namespace sorvella {

class CodecCatalogue;

// The catalogue number of the Windows Media codec.
inline constexpr int kWindowsMediaCodecNumber = 6;

// What "installconfig" does after an installation: tests the Windows Media
// codec of `catalogue` (none there counts as a failed test). A working codec
// is confirmed on `out`; a missing one is told through `prompter` with the
// FFmpeg libraries to install. Nothing is installed.
void checkWindowsMediaCodec(const CodecCatalogue& catalogue, std::ostream& out, Prompter& prompter);

} // namespace sorvella
