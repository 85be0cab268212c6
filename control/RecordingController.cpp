#include "control/RecordingController.h"

#include "control/Clock.h"
#include "control/EditorOpener.h"
#include "control/EventPump.h"
#include "control/InputHealthText.h"
#include "control/MainThreadPriority.h"
#include "control/OpenWindowList.h"
#include "control/SaveStarter.h"
#include "control/TimeText.h"
#include "control/VoxProfile.h"
#include "engine/TempSession.h"
#include "save/SaveSpace.h"
#include "save/TargetRecord.h"

#include <algorithm>
#include <limits>

namespace sorvella {
namespace {

constexpr const char* kRecordingErrorCaption = "Error recording...";
constexpr const char* kStartFailedText =
    "Start recording failed: device busy. Maybe another program uses the standard sound device...";
constexpr const char* kStartFailedCaption = "Start Recording";
constexpr const char* kCloseWindowsText = "Please close all other Sorvella Windows to continue...";
constexpr const char* kCloseWindowsCaption = "Error while Saving";
constexpr const char* kSaveErrorCaption = "Error while saving...";
constexpr const char* kEmptyRecording = "Error: Recorded Area is empty!";
constexpr const char* kSoundLostCaption = "Sound lost";
constexpr const char* kDropoutNotice =
    "Some sound was lost on its way in. Recording goes on; the main window counts the dropouts "
    "and tells when the last one happened.";
constexpr const char* kNoEditorUnattended =
    "Edit after: there is no display to show the editor on; the recording is saved instead.";

constexpr const char* kNoPercentText =
    "Note, that for archive mode it is recommended to use a '%' filename to automatically "
    "generate filenames. Do you want to start the File-Wizard to set a '%' filename?";
constexpr const char* kNoPercentCaption = "Warning: target file name contains no '%'";
constexpr const char* kArchiveNeedsLoopText =
    "Note, that the archive settings only work in Loop Mode. Switch to Loop Mode to activate "
    "archiving";

constexpr std::chrono::milliseconds kWindowWaitPause{10};
// The last buffers before a due archive time reach the store meanwhile.
constexpr std::chrono::milliseconds kArchiveSavePause{100};
constexpr std::int32_t kPeriodicTicks = 10;
constexpr std::int32_t kPriorityPeriods = 20;

enum AutoSaveAction : std::int32_t { SaveOnClose = 1, SaveAfter = 2, EditAfter = 3 };
enum LoopMode : std::int32_t { Archive = 1, ArchiveVox = 2 };
enum AutoSaveFollow : std::int32_t {
    CloseApplication = 0,
    EnterIdle = 1,
    RestartContinuous = 2,
    RestartIncremented = 3,
    LoopMode = 4,
};
enum SaveMode : std::int32_t { StopRecording = 0, RestartRecording = 1 };

std::int32_t atLeastOneSecond(std::int64_t seconds)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(seconds, 1, std::numeric_limits<std::int32_t>::max()));
}

std::string lostInputNotice(const std::string& reason)
{
    return "The input went away (" + reason +
           "). Everything recorded so far is kept; recording resumes when it returns.";
}

// Clears a flag when the scope ends, however it ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

} // namespace

RecordingController::RecordingController(Services services)
    : m_services(std::move(services)), m_settings(m_services.settings),
      m_archive(ArchiveSaver::Services{
          .settings = m_services.settings,
          .clock = m_services.clock,
          .archiveClock = m_services.archiveClock,
          .prompter = m_services.prompter,
          .saves = m_services.saves,
      }),
      m_vox(VoxSaver::Services{
          .settings = m_settings,
          .prompter = m_services.prompter,
          .clock = m_services.clock,
          .saves = m_services.saves,
          .liveStore = [this] { return m_recorder ? m_recorder->store() : nullptr; },
          .editAndSave = [this] { editAndSave(); },
      }),
      m_space(SpaceGuard::Services{
          .freeSpace = m_services.freeSpace,
          .clock = m_services.clock,
          .prompter = m_services.prompter,
          .view = m_services.view,
      })
{
}

RecordingController::~RecordingController()
{
    shutDownRecorder();
}

std::int32_t RecordingController::keepSeconds() const
{
    if (m_continuousMode.load()) {
        return -1;
    }
    switch (m_settings.loopMode.load()) {
    case 0:
        return atLeastOneSecond(m_settings.loopTime.load());
    case 2:
        // Vox drops what it does not save itself; without a profile it
        // would drop nothing, so the loop keeps the disk from filling.
        return voxProfileUsable(m_settings.voxProfile)
                   ? -1
                   : atLeastOneSecond(m_settings.loopTime.load());
    case 1:
        return atLeastOneSecond(static_cast<std::int64_t>(m_settings.archiverInterval.load()) -
                                m_settings.archiverDelay.load() +
                                m_settings.archiverOverlap.load() + 60);
    default:
        return -1;
    }
}

bool RecordingController::startRecording()
{
    computeNextArchiveTime();
    try {
        m_recorder =
            std::make_unique<SoundReader>(*this, m_settings, m_services.waveIn, m_services.session);
    } catch (const RecException& error) {
        m_openFailure = error.cause();
        return false;
    }
    m_space.recordingStarted();
    refreshStatus(true);
    return true;
}

void RecordingController::restartRecording()
{
    shutDownRecorder();
    if (!startRecording()) {
        m_settings.startRetryTicks = kRestartRetryTicks;
    }
}

void RecordingController::stopRecording()
{
    shutDownRecorder();
    refreshStatus(true);
}

void RecordingController::stopRecordingAndRetries()
{
    m_settings.startRetryTicks = 0;
    m_firstTick = false;
    if (m_retryDialog) {
        closeRetryDialog();
    }
    stopRecording();
}

void RecordingController::shutDownRecorder()
{
    if (m_recorder) {
        m_recorder->shutDown();
        m_recorder.reset();
    }
}

void RecordingController::onLoopButton()
{
    onRecordingButton(RecordingButton::Loop);
}

void RecordingController::onContinuousButton()
{
    onRecordingButton(RecordingButton::Continuous);
}

// Pressing the other button switches the mode of the running recording
// (and its store, trimmed from now on in loop mode); releasing the pressed
// one ends the recording.
void RecordingController::onRecordingButton(RecordingButton pressed)
{
    const RecordingButton other =
        pressed == RecordingButton::Loop ? RecordingButton::Continuous : RecordingButton::Loop;
    if (m_services.view.isChecked(pressed)) {
        const bool wasRecording = m_services.view.isChecked(other);
        m_continuousMode.store(pressed == RecordingButton::Continuous);
        if (!wasRecording) {
            restartRecording();
        }
        m_services.view.setChecked(other, false);
    } else {
        shutDownRecorder();
    }
    refreshStatus(true);
}

std::unique_ptr<RingStore> RecordingController::takeSnapshot()
{
    return atSnapshotPriority(m_settings.timingProfile,
                              [this] { return m_recorder->snapshotStore(); });
}

void RecordingController::userQuickSave()
{
    if (m_recorder && !m_unattended) {
        const std::int64_t held = m_recorder->heldBytes();
        SaveTarget target = quickSaveTarget(held, m_recorder->format());
        if (!roomForSave(target, held, m_services.freeSpace, m_services.prompter)) {
            return;
        }
    }
    quickSave(true);
}

void RecordingController::quickSave(bool keepRunning)
{
    if (!m_recorder) {
        refreshStatus(true);
        return;
    }
    Prompter& prompter = m_services.prompter;
    while (!keepRunning && !m_services.openWindows.empty()) {
        if (prompter.ask(kCloseWindowsText, kCloseWindowsCaption, Prompter::Buttons::RetryCancel,
                         Prompter::Icon::Warning) == Prompter::Answer::Cancel) {
            m_outcome.note(RunOutcome::SaveFailed);
            stopRecording();
            return;
        }
    }
    // The boxes run the event loop: the recording may have ended meanwhile.
    if (!m_recorder) {
        refreshStatus(true);
        return;
    }
    const WaveFormat format = m_recorder->format();
    std::unique_ptr<RingStore> held = takeHeldSound(m_settings.quickSaveMode);
    for (;;) {
        try {
            startQuickSave(held, format);
            break;
        } catch (const RecException& error) {
            m_outcome.note(RunOutcome::SaveFailed);
            if (error.kind() != RecException::OpenFailure) {
                prompter.ask(error.message(), kSaveErrorCaption, Prompter::Buttons::Ok,
                             Prompter::Icon::Warning);
                break;
            }
            if (prompter.ask(error.message(), kSaveErrorCaption, Prompter::Buttons::RetryCancel,
                             Prompter::Icon::Warning) != Prompter::Answer::Retry) {
                break;
            }
        }
    }
    held.reset();
    if (!keepRunning) {
        m_services.view.setWindowEnabled(false);
        stopRecording();
        waitForOpenWindows();
        m_services.view.setWindowEnabled(true);
    }
    refreshStatus(true);
}

void RecordingController::startQuickSave(std::unique_ptr<RingStore>& held, const WaveFormat& format)
{
    m_services.saves.startSave(held, quickSaveTarget(held->heldBytes(), format), nullptr);
}

// The file is named after the held sound: it ends now and began as long ago
// as the store holds. Its header tells the format the reader recorded in,
// which a damaged setting may not.
SaveTarget RecordingController::quickSaveTarget(std::int64_t heldBytes,
                                                const WaveFormat& format) const
{
    const std::int64_t now = m_services.clock.now();
    SaveTarget target = copyTarget(m_settings.target);
    target.sourceFormat = format;
    applyTimes(target, now - heldBytes / format.avgBytesPerSec, now);
    return target;
}

// "stop" and "restart" stop the reader before taking its store, so that the
// buffers the device had already filled are saved too; "continue" shares a
// snapshot with the recording that goes on.
std::unique_ptr<RingStore> RecordingController::takeHeldSound(std::int32_t saveMode)
{
    if (saveMode != StopRecording && saveMode != RestartRecording) {
        return takeSnapshot();
    }
    const std::unique_ptr<SoundReader> reader = std::move(m_recorder);
    reader->stop();
    std::unique_ptr<RingStore> store = reader->detachStore();
    reader->shutDown();
    if (saveMode == RestartRecording) {
        restartRecording();
    }
    return store;
}

void RecordingController::waitForOpenWindows()
{
    do {
        m_services.pump.pump(kWindowWaitPause);
    } while (!m_services.openWindows.empty());
}

void RecordingController::editAndSave()
{
    if (!m_recorder || m_services.editor == nullptr) {
        return;
    }
    restoreWindows();
    std::unique_ptr<RingStore> store = takeHeldSound(m_settings.editSaveMode);
    if (!store || store->heldBytes() <= 0) {
        m_services.prompter.ask(kEmptyRecording, "", Prompter::Buttons::Ok,
                                Prompter::Icon::Warning);
    } else {
        m_services.editor->openEditor(std::move(store));
    }
    refreshStatus(true);
}

void RecordingController::restoreWindows()
{
    m_services.view.restoreWindow();
    m_services.openWindows.showAll();
}

void RecordingController::onTimeSettingsClosed(bool ok, const std::function<void()>& openFileWizard)
{
    if (ok && m_settings.loopMode > 0) {
        Prompter& prompter = m_services.prompter;
        if (m_settings.target.fileName.find('%') == std::string::npos &&
            prompter.ask(kNoPercentText, kNoPercentCaption, Prompter::Buttons::YesNo,
                         Prompter::Icon::Warning) == Prompter::Answer::Yes) {
            openFileWizard();
        }
        if (m_continuousMode.load() && m_recorder) {
            prompter.tell(kArchiveNeedsLoopText, Prompter::Icon::Information);
        }
        computeNextArchiveTime();
    }
    // The boxes run the event loop: the recording may have ended meanwhile.
    if (ok && m_recorder && m_recorder->store() != nullptr) {
        m_recorder->store()->setTriggerLevel(m_settings);
    }
    refreshStatus(true);
}

void RecordingController::onTimer()
{
    // A message box of a tick runs the event loop, and with it the timer: a
    // tick that comes in meanwhile is left out.
    if (m_inTick || m_ticksStopped) {
        return;
    }
    const FlagScope inTick(m_inTick);
    m_services.status.updateTickTexts(statusInput(), m_settings);
    if (autoSaveStep() == Step::EndTick || pendingErrorStep() == Step::EndTick) {
        return;
    }
    startRetryStep();
    if (!m_continuousMode.load() && m_settings.loopMode == Archive) {
        archiveStep();
    }
    levelMeterStep(voxStep());
    inputHealthStep();
    spaceStep();
    m_services.status.showTexts();
    periodicStep();
}

// "Save after:" or "Edit after:" once the continuous recording is long
// enough, then the chosen follow-up.
RecordingController::Step RecordingController::autoSaveStep()
{
    const std::int32_t action = m_settings.autoSaveAction;
    // An action that is neither must not run a follow-up (which may close
    // the program) without having saved anything first. The sound a full
    // disk left out counts: the save comes on time.
    if (!m_recorder || !m_continuousMode.load() || m_settings.autoSaveTime <= 0 ||
        (action != SaveAfter && action != EditAfter) ||
        m_recorder->recordedSeconds() + m_recorder->unstoredSeconds() < m_settings.autoSaveTime) {
        return Step::Continue;
    }
    // Unattended, nobody would ever see the editor or close it: the sound is
    // saved as "Save after:" would, and the run ends.
    const bool saveInsteadOfEdit = action == EditAfter && m_unattended;
    if (action == EditAfter && !saveInsteadOfEdit && !canEdit()) {
        return Step::Continue; // no editor to hand the sound to: keep recording it
    }
    // The close waits for every open window, and inside a modal box's loop
    // that box's window could be one of them: a later tick saves.
    if ((m_settings.autoSaveFollow == CloseApplication || saveInsteadOfEdit) &&
        m_services.pump.insideModalLoop()) {
        return Step::Continue;
    }
    if (saveInsteadOfEdit) {
        m_settings.autoSaveAction = 0;
        m_services.prompter.tell(kNoEditorUnattended, Prompter::Icon::Information);
        quickSave(false);
        stopRecording();
        m_services.closeApplication();
        return Step::EndTick;
    }
    m_settings.autoSaveAction = 0;
    if (action == SaveAfter) {
        quickSave(m_settings.autoSaveFollow != CloseApplication);
    } else {
        editAndSave();
    }
    switch (m_settings.autoSaveFollow) {
    case CloseApplication:
        stopRecording();
        m_services.closeApplication();
        return Step::EndTick;
    case EnterIdle:
        stopRecording();
        break;
    case RestartIncremented:
        nextFreeName(m_settings.target);
        [[fallthrough]];
    case RestartContinuous:
        stopRecording();
        restartRecording();
        m_continuousMode.store(true);
        m_settings.autoSaveAction = action;
        break;
    case LoopMode:
        m_continuousMode.store(false);
        break;
    default:
        break;
    }
    refreshStatus(true);
    return Step::Continue;
}

// An error the recording parked is shown once: the reader marks it as being
// shown until the user answers.
RecordingController::Step RecordingController::pendingErrorStep()
{
    if (!m_recorder) {
        return Step::Continue;
    }
    const RecException error = m_recorder->claimPendingError();
    if (error.kind() == RecException::None) {
        return Step::Continue;
    }
    m_outcome.note(RunOutcome::SoundLost);
    const Prompter::Answer answer =
        m_services.prompter.ask(error.message(), kRecordingErrorCaption,
                                Prompter::Buttons::RetryCancel, Prompter::Icon::Warning);
    // Unattended archive and vox runs are meant to last for days: the error
    // went to standard error and recording goes on.
    if (answer == Prompter::Answer::Cancel && !(m_unattended && archiving())) {
        endRecordingAfterError();
        return Step::EndTick;
    }
    if (m_recorder) {
        m_recorder->clearPendingError();
    }
    return Step::Continue;
}

// The take ends, but what the store holds is still the user's to keep.
void RecordingController::endRecordingAfterError()
{
    if (m_recorder && m_recorder->heldBytes() > 0 && (m_unattended || userKeepsHeldSound())) {
        quickSave(true);
    }
    stopRecording();
    endUnattendedRun();
}

bool RecordingController::userKeepsHeldSound()
{
    const std::int64_t seconds =
        m_recorder->heldBytes() / std::max<std::int64_t>(m_recorder->format().avgBytesPerSec, 1);
    return m_services.prompter.ask("Save the " + timeText(seconds, TimeStyle::Short) +
                                       " recorded so far?",
                                   kRecordingErrorCaption, Prompter::Buttons::YesNo,
                                   Prompter::Icon::Question) == Prompter::Answer::Yes;
}

bool RecordingController::archiving() const
{
    const std::int32_t mode = m_settings.loopMode;
    return !m_continuousMode.load() && (mode == Archive || mode == ArchiveVox);
}

void RecordingController::recordingNeverStarted()
{
    m_outcome.note(RunOutcome::NeverStarted);
    endUnattendedRun();
}

// Without anyone to answer, a run that was to save or edit by itself would
// otherwise idle for ever; its exit code tells what happened.
void RecordingController::endUnattendedRun()
{
    const std::int32_t action = m_settings.autoSaveAction;
    if (m_unattended && action >= SaveOnClose && action <= EditAfter) {
        m_services.closeApplication();
    }
}

// The first start, and every start after a busy device: one attempt per tick
// behind the retry dialog until the ticks run out, then the question.
void RecordingController::startRetryStep()
{
    std::int32_t& ticks = m_settings.startRetryTicks;
    if (m_firstTick) {
        m_firstTick = false;
        // Without retries ("-x") recording still starts: once, and a busy
        // device leaves the program idle without a question (an unattended
        // run ends).
        if (ticks <= 0) {
            if (!startRecording()) {
                recordingNeverStarted();
            }
            return;
        }
    }
    if (ticks > 0) {
        --ticks;
        if (m_retryDialog) {
            m_retryDialog->show(ticks);
        }
        if (!m_recorder) {
            bool failed = true;
            if (m_retryDialog && m_retryDialog->cancelled()) {
                ticks = 0;
                failed = false;
            }
            if (ticks == 0) {
                closeRetryDialog();
                // The box's own text stays; the device's reason goes under it.
                const std::string text = m_openFailure.empty()
                                             ? std::string(kStartFailedText)
                                             : kStartFailedText + ("\n\n" + m_openFailure);
                if (failed && m_services.prompter.ask(
                                  text, kStartFailedCaption, Prompter::Buttons::RetryCancel,
                                  Prompter::Icon::Error) != Prompter::Answer::Cancel) {
                    restartRecording();
                } else {
                    recordingNeverStarted();
                }
            } else {
                startRecording();
            }
            if (m_recorder) {
                ticks = 0;
            } else if (ticks > 0 && !m_retryDialog) {
                m_retryDialog = m_services.retryDialogs();
                m_retryDialog->showReason(m_openFailure);
                m_retryDialog->show(ticks);
                refreshStatus(true);
            }
        }
    }
    if (m_recorder && m_retryDialog) {
        closeRetryDialog();
    }
}

void RecordingController::closeRetryDialog()
{
    m_retryDialog.reset();
    refreshStatus(true);
}

void RecordingController::computeNextArchiveTime()
{
    m_archive.computeNextArchiveTime();
}

void RecordingController::archiveStep()
{
    ArchiveSaver::TickResult result = m_archive.tick(m_recorder != nullptr);
    m_services.status.texts().stopAfter = std::move(result.countdown);
    if (result.save) {
        deferArchiveSave(*result.save);
    }
}

void RecordingController::deferArchiveSave(const ArchiveSaver::DueSave& due)
{
    m_services.pump.runLater(kArchiveSavePause, [this, alive = std::weak_ptr<bool>(m_alive), due] {
        if (alive.lock()) {
            continueArchiveSave(due);
        }
    });
}

// Runs as a tick would: ticks that come while its boxes are open are left
// out, and inside another tick's box it waits for that tick to end.
void RecordingController::continueArchiveSave(const ArchiveSaver::DueSave& due)
{
    if (m_ticksStopped || !m_recorder) {
        return;
    }
    if (m_inTick) {
        deferArchiveSave(due);
        return;
    }
    const FlagScope inTick(m_inTick);
    const WaveFormat format = m_recorder->format();
    if (!m_archive.save(takeSnapshot(), format, due, m_unattended)) {
        m_outcome.note(RunOutcome::SaveFailed);
    }
}

// Sound-activated saves in loop mode; false dims the meters (no sound held).
bool RecordingController::voxStep()
{
    if (!m_recorder || m_continuousMode.load() || m_settings.loopMode != ArchiveVox) {
        return true;
    }
    // Nobody would ever close an editor opened unattended: the piece is saved.
    return m_vox.tick(m_recorder->format(), canEdit() && !m_unattended,
                      m_services.status.texts().recordedTime);
}

void RecordingController::levelMeterStep(bool active)
{
    std::int32_t left = -1;
    std::int32_t right = -1;
    if (m_recorder) {
        m_recorder->takePeaks(left, right);
        if (left == -1 && right == -1) {
            return; // no new sound: the meters keep what they show
        }
        if (left > -1 && right > -1) {
            left /= 2;
            right /= 2;
        }
    }
    const std::int32_t marker = m_settings.loopMode == ArchiveVox ? m_settings.voxVolume / 2 : -1;
    m_services.view.setLevel(Meter::Left, {left, marker, active});
    m_services.view.setLevel(Meter::Right, {right, marker, active});
}

// Dropouts and a lost input never stop the recording, nor bring up a box a
// run of days would pile up: the status shows them, a notice tells of the
// first one, and a lost input is opened again until it returns.
void RecordingController::inputHealthStep()
{
    std::string& line = m_services.status.texts().inputHealth;
    if (!m_recorder) {
        line.clear();
        return;
    }
    InputHealth::Reading health = m_recorder->health();
    if (health.deviceLost && m_recorder->reopenDevice()) {
        health = m_recorder->health();
    }
    if (health.dropouts > 0 || health.deviceLost) {
        m_outcome.note(RunOutcome::SoundLost);
        if (!m_soundLossAnnounced) {
            m_soundLossAnnounced = true;
            const std::string text = health.deviceLost
                                         ? lostInputNotice(m_recorder->deviceLossReason())
                                         : kDropoutNotice;
            // Without a display the prompter's line on standard error is all
            // anyone will read; it does not wait.
            if (m_unattended) {
                m_services.prompter.ask(text, kSoundLostCaption, Prompter::Buttons::Ok,
                                        Prompter::Icon::Warning);
            } else {
                m_services.view.showNotice(kSoundLostCaption, text);
            }
        }
    }
    line = inputHealthText(health, m_recorder->format().avgBytesPerSec);
}

void RecordingController::periodicStep()
{
    if (++m_tickCount % kPeriodicTicks != 0) {
        return;
    }
    m_services.status.updateTargetDisplay(statusInput(), m_settings);
    if (++m_periodicCount >= kPriorityPeriods) {
        m_periodicCount = 0;
        setCurrentThreadPriority(mainThreadPriority(m_settings.timingProfile));
        refreshStatus(true);
    }
}

void RecordingController::spaceStep()
{
    std::string& line = m_services.status.texts().spaceHealth;
    if (!m_recorder) {
        line.clear();
        return;
    }
    const bool diskFull = m_recorder->diskFull();
    if (diskFull) {
        m_outcome.note(RunOutcome::SoundLost);
    }
    line = m_space.tick(m_services.session.sessionDir(),
                        SpaceGuard::neededBytes(statusInput(), m_settings), diskFull);
}

StatusInput RecordingController::statusInput() const
{
    StatusInput input;
    input.hasRecorder = m_recorder != nullptr;
    input.continuousMode = m_continuousMode.load();
    input.retryDialogOpen = m_retryDialog != nullptr;
    input.editorAvailable = canEdit();
    input.keepSeconds = keepSeconds();
    input.format = m_settings.format;
    if (m_recorder) {
        input.recordedSeconds = m_recorder->recordedSeconds();
        input.totalSeconds = m_recorder->totalSeconds();
        input.heldBytes = m_recorder->heldBytes();
        input.format = m_recorder->format();
        input.dropouts = m_recorder->health().dropouts;
    }
    return input;
}

void RecordingController::refreshStatus(bool full)
{
    m_services.status.refreshStatus(statusInput(), m_settings, full);
}

} // namespace sorvella
