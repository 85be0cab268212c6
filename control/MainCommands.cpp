#include "control/MainCommands.h"

#include "control/ApplicationCloser.h"
#include "control/FileManager.h"
#include "control/RecordingController.h"
#include "control/StatusDisplay.h"
#include "core/Prompter.h"
#include "core/RecException.h"
#include "core/Settings.h"
#include "engine/TempSession.h"
#include "platform/files/TargetFiles.h"
#include "platform/mixer/MixerDevice.h"
#include "platform/system/ProcessLauncher.h"
#include "save/TargetFileChoice.h"
#include "save/TargetRecord.h"

#include <exception>

namespace sorvella {
namespace {

constexpr const char* kConfigQuestion =
    "Configuring is only possible without recording. \nIf you continue, recording stops and the "
    "currently recorded stuff is deleted.";

// The folder part of a target name: up to its last "/", "." without one.
std::string folderOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

// Counts a running handler for as long as it runs, however it ends.
class DepthScope {
public:
    explicit DepthScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthScope() { --m_depth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

private:
    int& m_depth;
};

} // namespace

// Qt calls the handlers from its event loop, which no exception may cross.
void MainCommands::guarded(const std::function<void()>& command)
{
    const DepthScope running(m_depth);
    try {
        command();
    } catch (const RecException& error) {
        m_services.prompter.tell(error.message());
    } catch (const std::exception& error) {
        m_services.prompter.tell(error.what(), Prompter::Icon::Error);
    }
}

void MainCommands::refresh()
{
    m_services.controller.refreshStatus(true);
}

bool MainCommands::targetExists() const
{
    return sorvella::targetExists(m_services.settings.target);
}

const std::string& MainCommands::targetName() const
{
    return m_services.settings.target.fileName;
}

// The new settings take effect at once where nothing is recording: the tray
// icon, and the temporary session in a new directory. Files that save and
// editor windows still hold stay where they are until those let them go.
void MainCommands::takeOverConfiguration(const Settings& working)
{
    Settings& settings = m_services.settings;
    settings = working;
    m_services.status.trayCreate(settings);
    const std::string notice = m_services.session.setUp();
    if (!notice.empty()) {
        settings.tempDirectoryUseWindows = true; // where the session went instead
        m_services.prompter.tell(notice);
    }
}

void MainCommands::loopButton()
{
    guarded([this] { m_services.controller.onLoopButton(); });
}

void MainCommands::continuousButton()
{
    guarded([this] { m_services.controller.onContinuousButton(); });
}

void MainCommands::quickSave()
{
    guarded([this] { m_services.controller.userQuickSave(); });
}

void MainCommands::editAndSave()
{
    guarded([this] { m_services.controller.editAndSave(); });
}

void MainCommands::changeTimeSettings()
{
    guarded([this] {
        m_services.controller.onTimeSettingsClosed(m_services.timeSettings(), [this] {
            m_services.targetWizard(m_services.settings.target);
        });
    });
}

void MainCommands::config()
{
    guarded([this] {
        RecordingController& controller = m_services.controller;
        if (controller.hasRecorder() &&
            m_services.prompter.ask(kConfigQuestion, "Configure...", Prompter::Buttons::OkCancel,
                                    Prompter::Icon::None) != Prompter::Answer::Ok) {
            return;
        }
        // New formats, buffers and cards are taken when recording starts again.
        controller.stopRecordingAndRetries();
        Settings& settings = m_services.settings;
        const bool mixerHintShown = settings.showWarningMixer;
        Settings working = settings;
        if (m_services.configure(working)) {
            takeOverConfiguration(working);
        }
        if (working.showWarningMixer && !mixerHintShown) {
            settings.showWarningMixer = true;
            m_services.storeShowWarningMixer();
        }
        refresh();
    });
}

void MainCommands::saveSettingsAsDefault()
{
    guarded([this] {
        m_services.saveSettings();
        refresh();
    });
}

void MainCommands::help()
{
    guarded([this] { m_services.help(kMainWindowHelp); });
}

void MainCommands::toggleForm()
{
    guarded([this] {
        m_services.settings.showModeLarge = !m_services.settings.showModeLarge;
        refresh();
    });
}

void MainCommands::about()
{
    guarded([this] { m_services.view.showAbout(); });
}

// The volume control's recording view: the desktop's input devices, else
// ALSA's capture controls in a terminal.
void MainCommands::mixer()
{
    guarded([this] {
        ProcessLauncher& launcher = m_services.launcher;
        if (launcher.isInstalled("pavucontrol")) {
            launcher.startDetached({"pavucontrol", "--tab=4"});
        } else {
            launcher.startDetached({"x-terminal-emulator", "-e", "alsamixer", "-V", "capture", "-D",
                                    m_services.mixers.controlName(m_services.settings.soundCard)});
        }
        refresh();
    });
}

void MainCommands::browseTarget()
{
    guarded([this] {
        chooseTargetFile(m_services.settings.target, m_services.catalogue, m_services.saveAs,
                         OverwriteCheck::Skip);
        refresh();
    });
}

void MainCommands::advancedTarget()
{
    guarded([this] {
        m_services.targetWizard(m_services.settings.target);
        refresh();
    });
}

void MainCommands::incrementTarget()
{
    guarded([this] {
        nextFreeName(m_services.settings.target);
        refresh();
    });
}

void MainCommands::openTarget()
{
    guarded([this] {
        if (targetExists()) {
            m_services.launcher.startDetached({"xdg-open", targetName()});
        }
        refresh();
    });
}

void MainCommands::editTarget()
{
    guarded([this] {
        if (targetExists()) {
            m_services.launcher.startDetached({m_services.settings.editProgram, targetName()});
        }
        refresh();
    });
}

void MainCommands::deleteTarget()
{
    guarded([this] {
        if (targetExists() &&
            m_services.prompter.ask("Do you really want to delete " + targetName() + "?",
                                    "Delete...", Prompter::Buttons::YesNo,
                                    Prompter::Icon::Question) == Prompter::Answer::Yes) {
            m_services.targetFiles.remove(targetName());
        }
        refresh();
    });
}

void MainCommands::showTargetFolder()
{
    guarded([this] {
        if (!targetExists() || !m_services.fileManager.showItem(targetName())) {
            m_services.launcher.startDetached({"xdg-open", folderOf(targetName())});
        }
        refresh();
    });
}

void MainCommands::restoreWindow()
{
    guarded([this] { m_services.controller.restoreWindows(); });
}

void MainCommands::windowMinimised()
{
    guarded([this] { m_services.status.trayUpdate(m_services.settings); });
}

void MainCommands::windowActivated()
{
    guarded([this] { m_services.controller.refreshStatus(false); });
}

void MainCommands::closeRequested()
{
    guarded([this] { m_services.closer.closeApplication(false); });
}

void MainCommands::timerTick()
{
    guarded([this] { m_services.controller.onTimer(); });
}

} // namespace sorvella
