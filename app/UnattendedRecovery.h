#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>

namespace sorvella {

class BlockFiles;

// "--recover": saves every recording that runs which died left behind, with
// the target of the settings and the other options (its times those of the
// recording), then ends; with "--list" it only prints what it would save.
// Without windows: messages go to standard error. Nothing when the
// arguments do not ask for it; else the exit code (as for unattended runs:
// 2 when a save failed, 3 when sound could not be recovered).
std::optional<int> runUnattendedRecovery(std::span<const std::string> arguments,
                                         const std::string& settingsName, BlockFiles& blockFiles,
                                         std::ostream& out);

} // namespace sorvella
