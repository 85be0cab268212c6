#include "app/Application.h"

#include "app/LinuxCodecServices.h"
#include "app/MachineDefaults.h"
#include "app/SettingsPass.h"
#include "app/StartUpCommandLine.h"
#include "app/qt/DisplayPresence.h"
#include "config/ui/ConfigureDialog.h"
#include "control/RecoveryOffer.h"
#include "control/ui/QtRecoveryChoice.h"
#include "control/ui/QtRetryDialog.h"
#include "control/ui/TimeSettingsDialog.h"
#include "editor/PlayerPlayback.h"
#include "editor/ui/QtSelectionSaves.h"
#include "jobs/JobRun.h"
#include "jobs/ui/JobSettingsDialog.h"
#include "mixer/RetrieveVolumeSettings.h"
#include "platform/audio/WaveIn.h"
#include "save/IncompleteTarget.h"
#include "save/TargetFileChoice.h"
#include "save/TargetRecord.h"
#include "save/ui/DialogTargetFile.h"

#include <QDialog>
#include <QSessionManager>
#include <QTimer>

#include <iostream>

namespace sorvella {
namespace {

// While a command still runs, the forced close looks again this much later.
constexpr int kForcedCloseRetryMs = 10;

std::optional<std::string> modalWindowCaption()
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        return std::nullopt;
    }
    return modal->windowTitle().toStdString();
}

} // namespace

Application::Application(QApplication& qt, WaveInSystem& waveIn, BlockFiles& blockFiles)
    : m_qt(qt), m_store(QCoreApplication::applicationName().toStdString()),
      m_session(m_settings, blockFiles),
      m_catalogue(m_store, installedCodecs(linuxCodecServices())), m_jobs(m_targetFiles),
      m_help(HelpRouter::defaultFolder()), m_status(m_window, m_clock),
      m_saves(SaveWindowServices{m_jobs, m_openWindows, m_prompter}, &m_window, m_settings),
      m_saveWatch(m_saves), m_editors(editorServices(), &m_window),
      m_controller(RecordingController::Services{
          .settings = m_settings,
          .waveIn = waveIn,
          .session = m_session,
          .prompter = m_prompter,
          .clock = m_clock,
          .archiveClock = m_archiveClock,
          .view = m_window,
          .status = m_status,
          .openWindows = m_openWindows,
          .saves = m_saveWatch,
          .pump = m_pump,
          .freeSpace = m_freeSpace,
          .retryDialogs = [this] { return std::make_unique<QtRetryDialog>(&m_window); },
          .editor = &m_editors,
          .closeApplication = [this] { m_closer.closeApplication(true); },
      }),
      m_closer(ApplicationCloser::Services{
          .settings = m_settings,
          .controller = m_controller,
          .openWindows = m_openWindows,
          .status = m_status,
          .session = m_session,
          .prompter = m_prompter,
          .quit = [this] { QCoreApplication::exit(m_controller.outcome().exitCode()); },
      }),
      m_saveAs(&m_window, m_prompter, [this](std::int32_t topic) { m_help.showHelp(topic); }),
      m_commands(MainCommands::Services{
          .controller = m_controller,
          .closer = m_closer,
          .settings = m_settings,
          .saveSettings = [this] { saveSettings(m_store, m_settings, m_catalogue); },
          .prompter = m_prompter,
          .view = m_window,
          .status = m_status,
          .launcher = m_launcher,
          .mixers = m_mixers,
          .fileManager = m_fileManager,
          .targetFiles = m_targetFiles,
          .catalogue = m_catalogue,
          .saveAs = m_saveAs.windows(),
          .targetWizard = [this](SaveTarget& target) { openTargetWizard(target); },
          .timeSettings = [this] { return openTimeSettings(); },
          .help = [this](std::int32_t topic) { m_help.showHelp(topic); },
          .session = m_session,
          .configure = [this,
                        &waveIn](Settings& working) { return openConfiguration(working, waveIn); },
          .storeShowWarningMixer = [this] { storeShowWarningMixer(m_store, m_settings); },
      }),
      m_remote(RemoteControl::Services{
          .commands = m_commands,
          .saves = m_saveWatch,
          .recording = [this] { return m_controller.statusInput(); },
          .settings = m_settings,
          .targetText = [this] { return m_status.texts().target; },
          .modalWindow = [] { return modalWindowCaption(); },
          .commandRunning = [this] { return m_commands.busy(); },
      }),
      m_remoteBus(m_remote), m_signalNotifier(m_signals.readDescriptor(), QSocketNotifier::Read),
      m_quitInterceptor([this] { beginForcedClose(); })
{
    // The program ends through its own close, not when a window closes: the
    // main window may be hidden in the tray while a save window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    m_prompter.setParentWindow(&m_window);
    QObject::connect(&m_signalNotifier, &QSocketNotifier::activated, &m_window,
                     [this] { terminationSignalled(); });
    QObject::connect(&m_qt, &QGuiApplication::commitDataRequest, &m_window,
                     [this](QSessionManager& manager) { sessionMayEnd(manager); });
    m_qt.installEventFilter(&m_quitInterceptor);
    m_saves.onEnd([this](const std::string& file, bool ok) {
        if (!ok) {
            m_controller.outcome().note(RunOutcome::SaveFailed);
        }
        m_remoteBus.announceSaved(file, ok);
    });
    m_window.setCommands(&m_commands);
}

Application::~Application()
{
    m_window.setCommands(nullptr);
}

void Application::startUp(std::span<const std::string> arguments)
{
    applyMachineDefaults(m_settings);
    loadSettings(m_store, m_settings, m_catalogue);
    m_controller.setContinuousMode(false);
    m_help.setPhase(HelpPhase::CommandLine);
    // Nobody could set a job up without a display: a job without a line then
    // fails its run rather than report a success that recorded nothing.
    const bool display = hasDisplay();
    const JobStage jobStage = [this, display](const CommandLineServices& services) {
        return applyJobRunLine(m_settings, m_jobStore, m_store, services, display);
    };
    if (!applyStartUpArguments(arguments, m_settings, m_prompter, m_catalogue, jobStage)) {
        m_endedAtStartUp = RunOutcome::NeverStarted;
        return;
    }
    if (m_settings.jobConfigureId != -1) {
        configureJob();
        return;
    }
    m_help.setPhase(HelpPhase::Running);
    if (m_settings.incrementAtStart) {
        nextFreeName(m_settings.target);
    }
    if (m_settings.autoSaveAction != 0) {
        m_controller.setContinuousMode(true);
    }
    m_settings.target.sourceFormat = m_settings.format;
    m_status.trayCreate(m_settings);
    m_controller.refreshStatus(true);
    m_window.show();
    if (m_settings.startMinimized) {
        m_window.minimiseWindow();
    }
    const std::string notice = m_session.setUp();
    if (!notice.empty()) {
        m_prompter.tell(notice);
    }
    m_remoteBus.publish();
    m_window.startMainTimer();
    // After recording has begun, so that the answer does not delay it; an
    // unattended run leaves them for "--recover".
    if (display) {
        QTimer::singleShot(0, &m_window, [this] { offerLeftRecordings(); });
    }
}

void Application::offerLeftRecordings()
{
    CrashRecovery recovery(m_settings, m_session, [this](const std::string& target) {
        return keepIncompleteTarget(m_targetFiles, target);
    });
    recovery.scan();
    QtRecoveryChoice view(&m_window);
    RecoveryOffer offer(
        {m_settings, m_catalogue, m_saveAs.windows(), m_saves, m_editors, view, m_prompter});
    offer.offer(recovery);
}

int Application::run(std::span<const std::string> arguments)
{
    // A box nobody can see would stop an unattended recording for good.
    if (!hasDisplay()) {
        m_prompter.stopAsking();
        m_controller.setUnattended(true);
    }
    startUp(arguments);
    if (m_endedAtStartUp) {
        return *m_endedAtStartUp;
    }
    return QApplication::exec();
}

SaveDialogServices Application::saveDialogServices()
{
    return {m_catalogue, m_store, m_prompter,
            [this](std::int32_t topic) { m_help.showHelp(topic); }};
}

void Application::openTargetWizard(SaveTarget& target)
{
    DialogTargetFile dialog(&m_window, target, saveDialogServices());
    dialog.exec();
}

bool Application::openConfiguration(Settings& working, WaveInSystem& waveIn)
{
    ConfigSheet::Services sheet{
        .deviceNames = waveIn.deviceNames(),
        .retrieveVolume =
            [this](std::int32_t soundCard) {
                return retrieveVolumeSettings(m_mixers, soundCard, m_prompter);
            },
        .directoryExists =
            [this](const std::string& path) { return m_session.directoryExists(path); },
        .prompter = m_prompter,
    };
    return runConfiguration(&m_window, working, std::move(sheet), saveDialogServices());
}

bool Application::openTimeSettings()
{
    TimeSettingsDialog dialog(&m_window, m_settings,
                              [this](std::int32_t topic) { m_help.showHelp(topic); });
    return dialog.exec() == QDialog::Accepted;
}

// The job dialog on the program's own settings; the program then ends
// without recording, whatever the user chose.
void Application::configureJob()
{
    m_endedAtStartUp = RunOutcome::Completed;
    if (!hasDisplay()) {
        std::cerr << "Sorvella job settings need a display.\n";
        m_endedAtStartUp = RunOutcome::NeverStarted;
        return;
    }
    const HelpTopicOpener help = [this](std::int32_t topic) { m_help.showHelp(topic); };
    JobSettingsDialog dialog(nullptr, m_settings,
                             JobFormServices{
                                 .jobs = m_jobStore,
                                 .store = m_store,
                                 .commandLine = {m_prompter, m_catalogue, m_mixers, std::cout},
                                 .chooseTarget =
                                     [this](SaveTarget& target) {
                                         return chooseTargetFile(target, m_catalogue,
                                                                 m_saveAs.windows(),
                                                                 OverwriteCheck::Skip);
                                     },
                                 .editLine = {},
                             },
                             help);
    dialog.exec();
}

// Every editor plays on the default output and saves behind "Saving..."
// windows of the main window, as Quick Save does.
EditorWindow::Services Application::editorServices()
{
    const HelpTopicOpener help = [this](std::int32_t topic) { m_help.showHelp(topic); };
    return EditorWindow::Services{
        .mainSettings = m_settings,
        .prompter = m_prompter,
        .clock = m_clock,
        .openWindows = m_openWindows,
        .makeSaves =
            [this, help](QWidget& editor) {
                return std::make_unique<QtSelectionSaves>(
                    EditorSaveServices{{m_jobs, m_openWindows, m_prompter},
                                       m_catalogue,
                                       &m_window,
                                       m_settings,
                                       help},
                    editor);
            },
        .makePlayback = playerPlayback(m_waveOut),
        .help = help,
        .freeSpace = m_freeSpace,
    };
}

void Application::terminationSignalled()
{
    if (m_signals.takeSignals()) {
        beginForcedClose();
    }
}

// The session manager asks before a logout and at every checkpoint alike:
// with windows open the user may keep the session. Nothing closes here; the
// program closes when the session really ends, on the quit that follows.
void Application::sessionMayEnd(QSessionManager& manager)
{
    if (m_openWindows.empty() || !manager.allowsInteraction()) {
        return;
    }
    const bool mayEnd = m_closer.mayEndSession();
    manager.release();
    if (!mayEnd) {
        manager.cancel();
    }
}

void Application::beginForcedClose()
{
    m_prompter.stopAsking();
    runForcedClose();
}

// Open modal dialogs are closed as if cancelled; the close itself waits until
// no command is running, so that nothing it destroys is still in use.
void Application::runForcedClose()
{
    if (m_closer.closed()) {
        return;
    }
    bool dialogOpen = false;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible() && dialog->isModal()) {
            dialog->reject();
            dialogOpen = true;
        }
    }
    if (dialogOpen || m_commands.busy() || QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kForcedCloseRetryMs, &m_window, [this] { runForcedClose(); });
        return;
    }
    m_closer.closeApplication(true);
}

} // namespace sorvella
