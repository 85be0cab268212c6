#pragma once

#include "app/HelpRouter.h"
#include "app/SaveWindowStarter.h"
#include "app/qt/DBusFileManager.h"
#include "app/qt/DBusRemoteControl.h"
#include "app/qt/MessageBoxPrompter.h"
#include "app/qt/QtEventPump.h"
#include "app/qt/QuitInterceptor.h"
#include "control/ApplicationCloser.h"
#include "control/ArchiveClock.h"
#include "control/Clock.h"
#include "control/MainCommands.h"
#include "control/OpenWindowList.h"
#include "control/RecordingController.h"
#include "control/RemoteControl.h"
#include "control/SaveStartWatch.h"
#include "control/StatusDisplay.h"
#include "control/ui/MainWindow.h"
#include "core/Settings.h"
#include "editor/ui/EditorWindowOpener.h"
#include "engine/TempSession.h"
#include "platform/audio/AlsaWaveOut.h"
#include "platform/files/StatvfsFreeSpace.h"
#include "platform/files/PosixTargetFiles.h"
#include "platform/mixer/AlsaMixerSystem.h"
#include "platform/settings/QSettingsJobStore.h"
#include "platform/settings/QSettingsStore.h"
#include "platform/system/LinuxProcessLauncher.h"
#include "platform/system/TerminationSignals.h"
#include "save/CodecCatalogue.h"
#include "save/SaveJobEnvironment.h"
#include "save/ui/QtSaveAsWindows.h"
#include "save/ui/SaveDialogServices.h"

#include <QApplication>
#include <QSocketNotifier>

#include <optional>
#include <span>
#include <string>

namespace sorvella {

class BlockFiles;
class WaveInSystem;

// The program: its settings, temporary session, main window, recording
// controller and commands, from start-up to the end of the event loop. A
// termination signal or the end of the desktop session (the quit that follows
// the session manager's questions) closes it as a forced close (nobody is
// asked; message boxes go to standard error).
class Application {
public:
    // `waveIn` (the sound cards) and `blockFiles` (the ring store's files)
    // must outlive the application. The settings are those of the
    // executable's name.
    Application(QApplication& qt, WaveInSystem& waveIn, BlockFiles& blockFiles);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up up to the main timer; recording starts on its first tick.
    // `arguments` are the process's options (without the program's name).
    // A run that is refused, or that configures a scheduled job, ends during
    // start-up instead (endedAtStartUp).
    void startUp(std::span<const std::string> arguments = {});
    // The exit code of a run that ended during start-up, without recording.
    std::optional<int> endedAtStartUp() const { return m_endedAtStartUp; }
    // startUp, then the event loop until the program closes. The exit code:
    // 0, or what went wrong first (RunOutcome).
    int run(std::span<const std::string> arguments = {});

    Settings& settings() { return m_settings; }
    MainWindow& window() { return m_window; }
    const RecordingController& controller() const { return m_controller; }
    const TempSession& session() const { return m_session; }
    bool closed() const { return m_closer.closed(); }

private:
    void terminationSignalled();
    void sessionMayEnd(QSessionManager& manager);
    void beginForcedClose();
    void runForcedClose();
    void openTargetWizard(SaveTarget& target);
    bool openTimeSettings();
    void configureJob();
    void offerLeftRecordings();
    bool openConfiguration(Settings& working, WaveInSystem& waveIn);
    SaveDialogServices saveDialogServices();
    EditorWindow::Services editorServices();

    QApplication& m_qt;
    QSettingsStore m_store;
    QSettingsJobStore m_jobStore;
    Settings m_settings;
    TempSession m_session;
    PosixTargetFiles m_targetFiles;
    StatvfsFreeSpace m_freeSpace;
    CodecCatalogue m_catalogue;
    SaveJobEnvironment m_jobs;
    LinuxProcessLauncher m_launcher;
    AlsaMixerSystem m_mixers;
    // Before the window: editors, its children, may still play on it.
    AlsaWaveOutSystem m_waveOut;
    DBusFileManager m_fileManager;
    SystemClock m_clock;
    SystemArchiveClock m_archiveClock;
    MessageBoxPrompter m_prompter;
    HelpRouter m_help;
    QtEventPump m_pump;
    // Before the window: the save windows, its children, leave it when they go.
    OpenWindowList m_openWindows;
    MainWindow m_window;
    StatusDisplay m_status;
    SaveWindowStarter m_saves;
    SaveStartWatch m_saveWatch;
    EditorWindowOpener m_editors;
    RecordingController m_controller;
    ApplicationCloser m_closer;
    QtSaveAsWindows m_saveAs;
    MainCommands m_commands;
    RemoteControl m_remote;
    DBusRemoteControl m_remoteBus;
    TerminationSignals m_signals;
    QSocketNotifier m_signalNotifier;
    QuitInterceptor m_quitInterceptor;
    std::optional<int> m_endedAtStartUp;
};

} // namespace sorvella
