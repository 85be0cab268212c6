#pragma once

#include <cstdint>
#include <string>

namespace sorvella {

// The texts of the main window's read-only status fields, by their labels.
struct StatusTexts {
    std::string loopTime;     // "Loop time:"
    std::string stopAfter;    // "Stop after:"
    std::string recordedTime; // "Recorded time:"
    std::string usedSpace;    // "Used space:"
    std::string timeRunning;  // "Time running:"
    std::string format;       // the recording format, beside "Time running:"
    std::string target;       // "Target:"
    // Warnings about the recording itself, each a line or empty: the input's
    // (dropouts, a lost device, silence, clipping) and the temporary
    // directory's (free space, a full disk). Shown in the large form and the
    // tray icon's tooltip.
    std::string inputHealth;
    std::string spaceHealth;

    friend bool operator==(const StatusTexts&, const StatusTexts&) = default;
};

// The warning lines of `texts`, one a line; empty when all is well.
inline std::string healthText(const StatusTexts& texts)
{
    if (texts.inputHealth.empty() || texts.spaceHealth.empty()) {
        return texts.inputHealth + texts.spaceHealth;
    }
    return texts.inputHealth + "\n" + texts.spaceHealth;
}

// The controls that can be greyed. "&Loop Recording", "&Continuous Recording",
// "C&hange...", "&Mixer", "Help", ">>" and "Save settings as default" are
// always enabled, so they have no entry.
struct ControlEnabling {
    bool quickSave = false;
    bool editAndSave = false;
    bool browse = false;
    bool advanced = false;
    bool increment = false; // "&+"
    bool open = false;
    bool edit = false;
    bool deleteTarget = false;
    bool showFolder = false; // "Open folder"
    bool config = false;
    bool about = false;
    // The tray menu's "Quick &Save" and "E&dit and Save".
    bool trayQuickSave = false;
    bool trayEditAndSave = false;

    friend bool operator==(const ControlEnabling&, const ControlEnabling&) = default;
};

enum class RecordingButton { Loop, Continuous };

// What the window's icon, the tray icon and the animation show.
enum class StateIcon { Idle, Loop, Continuous };

enum class Meter { Left, Right };

// One level meter's input; the meter's range is 0..kMeterRange.
struct MeterReading {
    std::int32_t value = -1;  // -1: no value
    std::int32_t marker = -1; // -1: no marker
    bool active = true;

    friend bool operator==(const MeterReading&, const MeterReading&) = default;
};

constexpr std::int32_t kMeterRange = 16384;

// A run of the status animation's frames (0..10): `first` to `last`, once
// (the last frame stays) or repeated without end.
struct AnimationRun {
    int first = 4;
    int last = 4;
    bool repeat = false;

    friend bool operator==(const AnimationRun&, const AnimationRun&) = default;
};

// The main window as the recording controller and the status display see it.
// Implemented by the Qt window and by a recording fake in tests. Main thread.
class MainView {
public:
    virtual ~MainView() = default;

    virtual void showStatus(const StatusTexts& texts) = 0;
    virtual void setEnabling(const ControlEnabling& enabling) = 0;

    // The two recording buttons' check states. Reading gives what the user
    // left them at, before the controller sets them again.
    virtual bool isChecked(RecordingButton button) const = 0;
    virtual void setChecked(RecordingButton button, bool checked) = 0;

    virtual void setLevel(Meter meter, const MeterReading& reading) = 0;

    // The window's icon and the status animation.
    virtual void showState(StateIcon icon, const AnimationRun& animation) = 0;

    // The large form adds the target settings and "&Quick Save", "Config...",
    // "About"; ">>" reads "<<" in it. The window keeps its top left corner.
    virtual void setLargeForm(bool large) = 0;

    // Disabled while the busy-device retry dialog is up.
    virtual void setWindowEnabled(bool enabled) = 0;

    virtual bool isMinimised() const = 0;
    // Minimised into the tray: the window leaves the taskbar. Only called
    // while a tray icon exists, so the program stays reachable.
    virtual void hideWindow() = 0;
    // Shows the window again, not minimised, and brings it to the front.
    virtual void restoreWindow() = 0;
    virtual void minimiseWindow() = 0;

    // False, silently, when the desktop has no tray.
    virtual bool createTrayIcon(StateIcon icon) = 0;
    // False when no tray icon exists to update.
    virtual bool updateTrayIcon(StateIcon icon, const std::string& tip) = 0;
    virtual void removeTrayIcon() = 0;

    // A notice that does not wait for the user: the tray icon's message
    // where one exists, else a non-modal message box. For warnings a run of
    // days must not pile up boxes for.
    virtual void showNotice(const std::string& caption, const std::string& text) = 0;

    // The modal About box.
    virtual void showAbout() = 0;

    // Starts the main timer: MainCommandsSink::timerTick every 300 ms.
    virtual void startMainTimer() = 0;
};

} // namespace sorvella
