#include "save/ui/StartSave.h"

#include "engine/RingStore.h"
#include "save/SaveJob.h"
#include "save/ui/SaveProgressWindow.h"

namespace sorvella {

SaveProgressWindow* startSave(const SaveWindowServices& services, std::unique_ptr<RingStore>& store,
                              QWidget* parent, const SaveTarget& target, const BlockFilter* filter,
                              std::int32_t timingProfile, const std::function<void(bool ok)>& ended)
{
    auto job = std::make_unique<SaveJob>(services.jobs, store, target, filter);
    auto* window =
        new SaveProgressWindow(std::move(job), services.prompter, services.openWindows, parent);
    if (parent == nullptr || parent->isVisible()) {
        // Saves start from timers and hot keys: never take the focus.
        window->setAttribute(Qt::WA_ShowWithoutActivating);
        window->show();
    }
    if (ended) {
        // Before the job starts, so that no report can come first; queued
        // behind the window's own. Received by the parent, which outlives
        // the window: the window's close may delete it before this report
        // is delivered, and the report would be lost with it.
        QObject* receiver = parent != nullptr ? static_cast<QObject*>(parent) : window;
        QObject::connect(window, &SaveProgressWindow::endReported, receiver,
                         [ended](const QString& failure) { ended(failure.isEmpty()); });
    }
    window->startJob(saveThreadPriority(timingProfile));
    return window;
}

} // namespace sorvella
