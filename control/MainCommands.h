#pragma once

#include "control/MainCommandsSink.h"
#include "save/SaveAsWindows.h"

#include <cstdint>
#include <functional>
#include <string>

namespace sorvella {

class ApplicationCloser;
class CodecCatalogue;
class FileManager;
class MainView;
class ProcessLauncher;
class RecordingController;
class StatusDisplay;
class TargetFiles;
class TempSession;
class MixerSystem;
struct SaveTarget;
struct Settings;

// The main window's commands: its buttons, tray menu and window events, each
// ending with a status refresh. Outside programs are started detached and
// fail silently. A RecException never leaves a handler: it is shown here.
class MainCommands : public MainCommandsSink {
public:
    static constexpr std::int32_t kMainWindowHelp = 102;

    struct Services {
        RecordingController& controller;
        ApplicationCloser& closer;
        Settings& settings;
        // "Save settings as default": writes every stored setting.
        std::function<void()> saveSettings;
        Prompter& prompter;
        MainView& view;
        StatusDisplay& status;
        ProcessLauncher& launcher;
        MixerSystem& mixers;
        FileManager& fileManager;
        TargetFiles& targetFiles;
        const CodecCatalogue& catalogue;
        SaveAsWindows saveAs;
        // The modal "Select Targetfile..." dialog on the main target.
        std::function<void(SaveTarget&)> targetWizard;
        // The modal "Time Settings" dialog on the settings; true after OK.
        std::function<bool()> timeSettings;
        std::function<void(std::int32_t topic)> help;
        // "Config...": the temporary session follows a new directory.
        TempSession& session;
        // The modal "Configure Sorvella" sheet on a working copy; true after OK.
        std::function<bool(Settings& working)> configure;
        // Writes "Show Warning Mixer" alone, at once.
        std::function<void()> storeShowWarningMixer;
    };

    explicit MainCommands(Services services) : m_services(std::move(services)) {}

    void loopButton() override;
    void continuousButton() override;
    void quickSave() override;
    void editAndSave() override;
    void changeTimeSettings() override;
    void config() override;
    void saveSettingsAsDefault() override;
    void help() override;
    void toggleForm() override;
    void about() override;
    void mixer() override;
    void browseTarget() override;
    void advancedTarget() override;
    void incrementTarget() override;
    void openTarget() override;
    void editTarget() override;
    void deleteTarget() override;
    void showTargetFolder() override;
    void restoreWindow() override;
    void windowMinimised() override;
    void windowActivated() override;
    void closeRequested() override;
    void timerTick() override;

    // True while a handler runs (a message box or a wait of it may run the
    // event loop meanwhile).
    bool busy() const { return m_depth > 0; }

private:
    void guarded(const std::function<void()>& command);
    void refresh();
    bool targetExists() const;
    const std::string& targetName() const;
    void takeOverConfiguration(const Settings& working);

    Services m_services;
    int m_depth = 0;
};

} // namespace sorvella
