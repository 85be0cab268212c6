#pragma once

namespace sorvella {

// Where the main window sends the user's commands: its buttons, its tray
// menu, window events and the main timer. Implemented by the recording
// controller; each handler ends with a status refresh. Main thread.
class MainCommandsSink {
public:
    virtual ~MainCommandsSink() = default;

    // The two recording buttons, after the click changed their check state.
    virtual void loopButton() = 0;
    virtual void continuousButton() = 0;

    virtual void quickSave() = 0;   // "&Quick Save" and the tray's "Quick &Save"
    virtual void editAndSave() = 0; // "&Edit and Save" and the tray's "E&dit and Save"

    virtual void changeTimeSettings() = 0; // "C&hange..."
    virtual void config() = 0;             // "Config..."
    virtual void saveSettingsAsDefault() = 0;
    virtual void help() = 0;
    // ">>" / "<<": toggles "showModeLarge", then a full refresh.
    virtual void toggleForm() = 0;
    // "About": MainView::showAbout().
    virtual void about() = 0;
    virtual void mixer() = 0;

    // The target file.
    virtual void browseTarget() = 0;     // "&Browse..."
    virtual void advancedTarget() = 0;   // "Advanced..."
    virtual void incrementTarget() = 0;  // "&+"
    virtual void openTarget() = 0;       // "Open"
    virtual void editTarget() = 0;       // "Edit"
    virtual void deleteTarget() = 0;     // "Delete"
    virtual void showTargetFolder() = 0; // "Open folder"

    // The tray's "&Restore" and a double click on the tray icon: the main
    // window (MainView::restoreWindow) and every open save or editor window
    // come back.
    virtual void restoreWindow() = 0;
    // The window was minimised: StatusDisplay::trayUpdate sends it into the
    // tray, if there is one.
    virtual void windowMinimised() = 0;
    // The window became active: StatusDisplay::refreshStatus, not full.
    virtual void windowActivated() = 0;
    // The window's close button and the tray's "&Exit".
    virtual void closeRequested() = 0;

    virtual void timerTick() = 0;
};

} // namespace sorvella
