#pragma once

#include "control/MainView.h"

namespace sorvella {

// Which controls may be used: saving needs a recording ("&Quick Save" also
// the large form), the target's buttons need the large form and, for those
// that work on the file, the file itself.
ControlEnabling controlEnabling(bool hasRecorder, bool editorAvailable, bool largeForm,
                                bool targetExists);

StateIcon stateIconFor(bool hasRecorder, bool continuousMode);

// The animation of a state. With "animationMode" 1 the recording states
// play their frames without end; otherwise each shows its first frame.
AnimationRun stateAnimation(StateIcon state, int animationMode);

} // namespace sorvella
