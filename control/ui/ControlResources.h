#pragma once

#include "control/MainView.h"

#include <QIcon>
#include <QString>

namespace sorvella {

// The icons and animation frames of the main window, compiled into this
// library. Safe to call more than once.
void loadControlResources();

QIcon stateIconImage(StateIcon icon);

// The resource name of animation frame `frame` (0..10).
QString animationFramePath(int frame);

} // namespace sorvella
