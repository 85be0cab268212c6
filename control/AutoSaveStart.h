#pragma once

#include <functional>

namespace sorvella {

class Prompter;
struct SaveTarget;

// Starts an automatic save (archive or vox): `start` fills the target and
// starts the job, throwing RecException when it cannot. A target that cannot
// be opened (kind 2) is asked Retry/Cancel, and Retry runs `start` again with
// the same snapshot; any other failure is shown and given up. `giveUp` drops
// the save after the box even on Retry (nobody can mend the target).
// False when no job was started. Main thread.
bool startAutoSave(Prompter& prompter, bool giveUp,
                   const std::function<void(SaveTarget& target)>& start);

} // namespace sorvella
