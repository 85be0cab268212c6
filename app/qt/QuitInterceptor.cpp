#include "app/qt/QuitInterceptor.h"

#include <QCoreApplication>
#include <QEvent>

namespace sorvella {

bool QuitInterceptor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit) {
        return false;
    }
    m_quitting();
    return true;
}

} // namespace sorvella
