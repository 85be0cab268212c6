#include "control/StatusRules.h"

namespace sorvella {

ControlEnabling controlEnabling(bool hasRecorder, bool editorAvailable, bool largeForm,
                                bool targetExists)
{
    // Edit and Save stops or copies the recording for an editor: never offer
    // it while none can open.
    const bool editable = hasRecorder && editorAvailable;
    const bool fileButtons = largeForm && targetExists;
    ControlEnabling enabling;
    enabling.quickSave = hasRecorder && largeForm;
    enabling.editAndSave = editable;
    enabling.browse = largeForm;
    enabling.advanced = largeForm;
    enabling.increment = fileButtons;
    enabling.open = fileButtons;
    enabling.edit = fileButtons;
    enabling.deleteTarget = fileButtons;
    enabling.showFolder = largeForm;
    enabling.config = largeForm;
    enabling.about = largeForm;
    enabling.trayQuickSave = hasRecorder;
    enabling.trayEditAndSave = editable;
    return enabling;
}

StateIcon stateIconFor(bool hasRecorder, bool continuousMode)
{
    if (!hasRecorder) {
        return StateIcon::Idle;
    }
    return continuousMode ? StateIcon::Continuous : StateIcon::Loop;
}

AnimationRun stateAnimation(StateIcon state, int animationMode)
{
    const bool animate = animationMode == 1;
    switch (state) {
    case StateIcon::Loop:
        return {0, animate ? 3 : 0, animate};
    case StateIcon::Continuous:
        return {5, animate ? 10 : 5, animate};
    case StateIcon::Idle:
        break;
    }
    return {4, 4, false};
}

} // namespace sorvella
