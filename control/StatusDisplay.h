#pragma once

#include "control/MainView.h"
#include "control/TrayPresenter.h"
#include "core/Settings.h"
#include "core/WaveFormat.h"

#include <cstdint>

namespace sorvella {

class Clock;

// What the recording controller knows at a refresh. Filled anew each time.
struct StatusInput {
    bool hasRecorder = false;
    bool continuousMode = false;
    bool retryDialogOpen = false;
    // Whether "&Edit and Save" has an editor to open.
    bool editorAvailable = false;
    // The controller's keepSeconds(): -1 for no limit.
    std::int32_t keepSeconds = -1;
    // The recorder's counters; 0 without a recorder.
    std::int64_t recordedSeconds = 0;
    std::int64_t totalSeconds = 0;
    std::int64_t heldBytes = 0;
    std::int64_t dropouts = 0; // of this recording
    // The recording format (the settings' while idle).
    WaveFormat format;
};

// Turns the controller's values into what the main window shows: the status
// texts, the enabling of the controls, the check states, the form, the state
// icon and animation, and the tray icon.
class StatusDisplay {
public:
    StatusDisplay(MainView& view, const Clock& clock);

    // The texts the window shows. The controller's own timer steps write into
    // them (the archive countdown in stopAfter, the vox piece length in
    // recordedTime) and then call showTexts().
    StatusTexts& texts() { return m_texts; }
    void showTexts();

    // The timer's texts: "Time running:", "Recorded time:", "Used space:" and
    // "Stop after:" (the time left to the automatic save, in parentheses in
    // loop mode). Not shown until showTexts().
    void updateTickTexts(const StatusInput& input, const Settings& settings);

    // Texts, check states and enabling; with `full` also the form, the state
    // icon and animation, the window's enabled state and the tray icon.
    void refreshStatus(const StatusInput& input, const Settings& settings, bool full);

    // The "Target:" text: the name a save made now would get, and " (exists)"
    // when the target's file is there.
    void updateTargetDisplay(const StatusInput& input, const Settings& settings);

    // The tray icon, while "iconInTray" is set. trayUpdate also sends a
    // minimised window into the tray; the controller calls it when the
    // window is minimised.
    void trayCreate(const Settings& settings) { m_tray.create(settings.iconInTray, m_stateIcon); }
    void trayUpdate(const Settings& settings) { m_tray.update(settings.iconInTray, m_stateIcon); }
    void trayRemove() { m_tray.remove(); }

private:
    MainView& m_view;
    const Clock& m_clock;
    TrayPresenter m_tray;
    StatusTexts m_texts;
    StateIcon m_stateIcon = StateIcon::Loop;
};

} // namespace sorvella
