#pragma once

#include "control/MainView.h"

#include <map>
#include <string>
#include <vector>

namespace sorvella::test {

// A main window that remembers what it was told to show. The tray can be
// made unavailable or made to lose its icon.
class RecordingMainView : public MainView {
public:
    StatusTexts texts;
    ControlEnabling enabling;
    std::map<RecordingButton, bool> checked{{RecordingButton::Loop, false},
                                            {RecordingButton::Continuous, false}};
    std::map<Meter, MeterReading> meters;
    StateIcon windowIcon = StateIcon::Loop;
    AnimationRun animation;
    bool largeForm = false;
    bool windowEnabled = true;
    bool minimised = false;
    bool visible = true;
    bool aboutShown = false;
    std::vector<std::string> notices; // "caption: text", in order
    bool timerStarted = false;

    bool trayAvailable = true;
    bool trayIcon = false;
    StateIcon trayIconState = StateIcon::Idle;
    std::string trayTip;
    // Tray calls in order: "create", "update", "remove".
    std::vector<std::string> trayCalls;

    void showStatus(const StatusTexts& shown) override { texts = shown; }
    void setEnabling(const ControlEnabling& shown) override { enabling = shown; }
    bool isChecked(RecordingButton button) const override { return checked.at(button); }
    void setChecked(RecordingButton button, bool value) override { checked[button] = value; }
    void setLevel(Meter meter, const MeterReading& reading) override { meters[meter] = reading; }
    void showState(StateIcon icon, const AnimationRun& run) override
    {
        windowIcon = icon;
        animation = run;
    }
    void setLargeForm(bool large) override { largeForm = large; }
    void setWindowEnabled(bool enabled) override { windowEnabled = enabled; }
    bool isMinimised() const override { return minimised; }
    void hideWindow() override { visible = false; }
    void restoreWindow() override
    {
        minimised = false;
        visible = true;
    }
    void minimiseWindow() override { minimised = true; }
    bool createTrayIcon(StateIcon icon) override
    {
        trayCalls.push_back("create");
        trayIcon = trayAvailable;
        trayIconState = icon;
        return trayIcon;
    }
    bool updateTrayIcon(StateIcon icon, const std::string& tip) override
    {
        trayCalls.push_back("update");
        if (!trayIcon) {
            return false;
        }
        trayIconState = icon;
        trayTip = tip;
        return true;
    }
    void removeTrayIcon() override
    {
        trayCalls.push_back("remove");
        trayIcon = false;
    }
    void showNotice(const std::string& caption, const std::string& text) override
    {
        notices.push_back(caption + ": " + text);
    }
    void showAbout() override { aboutShown = true; }
    void startMainTimer() override { timerStarted = true; }
};

} // namespace sorvella::test
