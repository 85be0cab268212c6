#pragma once

#include "core/Prompter.h"
#include "core/Settings.h"

#include <functional>
#include <span>
#include <string>

namespace sorvella {

class CodecCatalogue;
struct CommandLineServices;

// Reads a scheduled job's line after the process's options; false refuses
// the run.
using JobStage = std::function<bool(const CommandLineServices& services)>;

// Start-up's command-line stage on this machine's mixers: the process's
// arguments (without the program's name) into `settings`, then applied, then
// `jobStage` with the same services. Reports are boxes through `boxes`;
// without a display they go to standard error instead, so that an unattended
// run with a bad option still records rather than wait for ever on a box
// nobody sees. False when the run is refused (a bad job number, or the job
// stage's answer).
bool applyStartUpArguments(std::span<const std::string> arguments, Settings& settings,
                           Prompter& boxes, const CodecCatalogue& catalogue,
                           const JobStage& jobStage);

} // namespace sorvella
