#pragma once

#include "core/Prompter.h"
#include "core/Settings.h"

#include <span>
#include <string>

namespace sorvella {

class CodecCatalogue;

// Start-up's command-line stage on this machine's mixers: the process's
// arguments (without the program's name) into `settings`, then applied.
// Reports are boxes through `boxes`; without a display they go to standard
// error instead, so that an unattended run with a bad option still records
// rather than wait for ever on a box nobody sees.
void applyStartUpArguments(std::span<const std::string> arguments, Settings& settings,
                           Prompter& boxes, const CodecCatalogue& catalogue);

} // namespace sorvella
