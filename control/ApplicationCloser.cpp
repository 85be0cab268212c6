#include "control/ApplicationCloser.h"

#include "control/OpenWindowList.h"
#include "control/RecordingController.h"
#include "control/StatusDisplay.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "engine/TempSession.h"

namespace sorvella {
namespace {

constexpr std::int32_t kSaveOnClose = 1;

} // namespace

bool ApplicationCloser::closeApplication(bool forced)
{
    if (m_closed) {
        return true;
    }
    OpenWindowList& windows = m_services.openWindows;
    RecordingController& controller = m_services.controller;
    if (!forced && !mayEndSession()) {
        return false;
    }
    // The close runs events while it waits: a second signal or request that
    // comes in meanwhile finds it under way.
    m_closed = true;
    controller.stopTicks();
    if (forced) {
        windows.closeWindowsThatStay();
    } else {
        windows.closeAll();
    }
    // Before the session's files are cleaned up, the closed editors must be
    // gone with their sound.
    controller.waitForOpenWindows();
    Settings& settings = m_services.settings;
    if (settings.autoSaveAction == kSaveOnClose && controller.continuousMode() &&
        controller.hasRecorder()) {
        settings.autoSaveAction = 0;
        controller.quickSave(false);
    }
    controller.stopRecording();
    m_services.status.trayRemove();
    m_services.session.closeSession(m_services.prompter);
    m_services.quit();
    return true;
}

bool ApplicationCloser::mayEndSession()
{
    return m_services.openWindows.empty() ||
           m_services.prompter.ask(kOpenWindowsQuestion, kOpenWindowsCaption,
                                   Prompter::Buttons::YesNo,
                                   Prompter::Icon::Question) == Prompter::Answer::Yes;
}

} // namespace sorvella
