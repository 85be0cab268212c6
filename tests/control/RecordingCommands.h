#pragma once

#include "control/Clock.h"
#include "control/MainCommandsSink.h"
#include "control/StatusDisplay.h"

#include <string>
#include <vector>

namespace sorvella::test {

// A controller stand-in for the window tests: records every command, and for
// the ones that change the window itself does what the controller does.
class RecordingCommands : public MainCommandsSink {
public:
    RecordingCommands(MainView& view, Settings& settings, StatusInput& input)
        : m_view(view), m_display(view, m_clock), m_settings(settings), m_input(input)
    {
    }

    std::vector<std::string> calls;

    StatusDisplay& display() { return m_display; }
    void refresh() { m_display.refreshStatus(m_input, m_settings, true); }

    void loopButton() override { calls.push_back("loop"); }
    void continuousButton() override { calls.push_back("continuous"); }
    void quickSave() override { calls.push_back("quickSave"); }
    void editAndSave() override { calls.push_back("editAndSave"); }
    void changeTimeSettings() override { calls.push_back("change"); }
    void config() override { calls.push_back("config"); }
    void saveSettingsAsDefault() override { calls.push_back("saveDefault"); }
    void help() override { calls.push_back("help"); }
    void toggleForm() override
    {
        calls.push_back("toggleForm");
        m_settings.showModeLarge = !m_settings.showModeLarge;
        refresh();
    }
    void about() override { calls.push_back("about"); }
    void mixer() override { calls.push_back("mixer"); }
    void browseTarget() override { calls.push_back("browse"); }
    void advancedTarget() override { calls.push_back("advanced"); }
    void incrementTarget() override { calls.push_back("increment"); }
    void openTarget() override { calls.push_back("open"); }
    void editTarget() override { calls.push_back("edit"); }
    void deleteTarget() override { calls.push_back("delete"); }
    void showTargetFolder() override { calls.push_back("showFolder"); }
    void restoreWindow() override
    {
        calls.push_back("restore");
        m_view.restoreWindow();
    }
    void windowMinimised() override
    {
        calls.push_back("minimised");
        m_display.trayUpdate(m_settings);
    }
    void windowActivated() override {}
    void closeRequested() override { calls.push_back("close"); }
    void timerTick() override { calls.push_back("tick"); }

private:
    MainView& m_view;
    SystemClock m_clock;
    StatusDisplay m_display;
    Settings& m_settings;
    StatusInput& m_input;
};

} // namespace sorvella::test
