#include "control/ui/ControlResources.h"

// Resources of a static library must be registered by hand; the macro only
// works outside a namespace.
static void initControlResources()
{
    Q_INIT_RESOURCE(control);
}

namespace sorvella {

void loadControlResources()
{
    initControlResources();
}

QIcon stateIconImage(StateIcon icon)
{
    switch (icon) {
    case StateIcon::Loop:
        return QIcon(QStringLiteral(":/control/icons/state-loop.svg"));
    case StateIcon::Continuous:
        return QIcon(QStringLiteral(":/control/icons/state-continuous.svg"));
    case StateIcon::Idle:
        break;
    }
    return QIcon(QStringLiteral(":/control/icons/state-idle.svg"));
}

QString animationFramePath(int frame)
{
    return QStringLiteral(":/control/animation/frame-%1.svg").arg(frame, 2, 10, QLatin1Char('0'));
}

} // namespace sorvella
