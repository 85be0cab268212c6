#include "app/qt/QtEventPump.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <thread>

namespace sorvella {

void QtEventPump::pump(std::chrono::milliseconds pause)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // A wait inside an event handler never returns to the loop that would
    // run them, so deferred deletions are run here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::this_thread::sleep_for(pause);
}

bool QtEventPump::insideModalLoop() const
{
    return QApplication::activeModalWidget() != nullptr;
}

void QtEventPump::runLater(std::chrono::milliseconds delay, std::function<void()> action)
{
    QTimer::singleShot(delay, std::move(action));
}

} // namespace sorvella
