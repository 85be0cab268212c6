#pragma once

#include "control/ArchiveSaver.h"
#include "control/RetryDialog.h"
#include "control/RunOutcome.h"
#include "control/SpaceGuard.h"
#include "control/StatusDisplay.h"
#include "control/VoxSaver.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "engine/RecordingOwner.h"
#include "engine/SoundReader.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sorvella {

class ArchiveClock;
class Clock;
class EditorOpener;
class EventPump;
class FreeSpace;
class MainView;
class OpenWindowList;
class SaveStarter;
class TempSession;
class WaveInSystem;

// The part of the main window that owns the recording: it starts, stops and
// restarts the SoundReader, switches between loop and continuous mode, saves
// or edits what is held, and on every tick of the 300 ms main timer shows the
// counters, fires the automatic save, reports recording errors, retries a
// busy input device, shows dropouts and reopens a lost input. A plain class
// on the main thread; only keepSeconds() is called from the device callback
// thread.
class RecordingController : public RecordingOwner {
public:
    static constexpr std::int32_t kRestartRetryTicks = 10;

    struct Services {
        Settings& settings;
        WaveInSystem& waveIn;
        TempSession& session;
        Prompter& prompter;
        const Clock& clock;
        const ArchiveClock& archiveClock;
        MainView& view;
        StatusDisplay& status;
        OpenWindowList& openWindows;
        SaveStarter& saves;
        EventPump& pump;
        // The temporary directory's and the save targets' file systems.
        const FreeSpace& freeSpace;
        RetryDialogFactory retryDialogs;
        // Null while the program has no editor: Edit and Save stays off.
        EditorOpener* editor = nullptr;
        // The follow-up "close application" of an automatic save.
        std::function<void()> closeApplication;
    };

    explicit RecordingController(Services services);
    // Shuts a running recording down.
    ~RecordingController() override;
    RecordingController(const RecordingController&) = delete;
    RecordingController& operator=(const RecordingController&) = delete;

    // RecordingOwner. Device callback thread: reads only Relaxed settings and
    // the atomic mode. A limit below one second keeps one second, so that a
    // settings file with a nonsensical loop time still records a loop.
    std::int32_t keepSeconds() const override;
    Prompter& prompter() override { return m_services.prompter; }

    // Creates a recorder; false (silently) when the device cannot be opened.
    bool startRecording();
    // Ends the recording (if any) and starts a new one; a failure leaves the
    // timer to retry for kRestartRetryTicks ticks.
    void restartRecording();
    void stopRecording();
    // Stops recording and any retry of a busy input device: recording
    // starts again only from a recording button.
    void stopRecordingAndRetries();

    // The two recording buttons, after a click changed their check state:
    // together they are one three-way switch (loop, continuous, idle).
    void onLoopButton();
    void onContinuousButton();

    // "&Quick Save" by the user: when the target's file system has too little
    // room for the file, asks first whether to save anyway (never in an
    // unattended run). Recording goes on.
    void userQuickSave();
    // Saves what is held. With `keepRunning` false (before the program
    // closes) recording stops and the call returns only when every save,
    // this one included, has finished.
    void quickSave(bool keepRunning);
    // Hands the recording to the editor, as "Save Mode Edit and Save" says.
    void editAndSave();
    bool canEdit() const { return m_services.editor != nullptr; }

    // The main window back from the tray or the taskbar, with every open
    // save and editor window.
    void restoreWindows();

    void onTimer();

    // After the "Time Settings" dialog: when it was confirmed, the archive
    // modes' advice on the target name (Yes runs `openFileWizard`) and on
    // continuous mode, the next archive time, and the running store's
    // trigger level. The status is refreshed in every case.
    void onTimeSettingsClosed(bool ok, const std::function<void()>& openFileWizard);

    // The next archive save time from now, after a start or a change of the
    // archive settings.
    void computeNextArchiveTime();

    // Lets events run until every save and editor window has closed, and at
    // least once: a closed window is deleted, with the sound it holds, only
    // by the events after its close.
    void waitForOpenWindows();

    // No more ticks: the program is closing.
    void stopTicks() { m_ticksStopped = true; }

    // Nobody can answer a box (no display): a recording error saves what is
    // held, and a run with an automatic save or edit ends instead of idling.
    void setUnattended(bool unattended) { m_unattended = unattended; }
    RunOutcome& outcome() { return m_outcome; }

    void setContinuousMode(bool continuous) { m_continuousMode.store(continuous); }
    bool continuousMode() const { return m_continuousMode.load(); }
    bool hasRecorder() const { return m_recorder != nullptr; }
    const SoundReader* recorder() const { return m_recorder.get(); }

    StatusInput statusInput() const;
    void refreshStatus(bool full);

private:
    enum class Step { Continue, EndTick };

    void onRecordingButton(RecordingButton pressed);
    void shutDownRecorder();
    std::unique_ptr<RingStore> takeSnapshot();
    void startQuickSave(std::unique_ptr<RingStore>& held, const WaveFormat& format);
    SaveTarget quickSaveTarget(std::int64_t heldBytes, const WaveFormat& format) const;
    std::unique_ptr<RingStore> takeHeldSound(std::int32_t saveMode);
    Step autoSaveStep();
    Step pendingErrorStep();
    void endRecordingAfterError();
    bool userKeepsHeldSound();
    bool archiving() const;
    void recordingNeverStarted();
    void endUnattendedRun();
    void startRetryStep();
    void closeRetryDialog();
    void archiveStep();
    void deferArchiveSave(const ArchiveSaver::DueSave& due);
    void continueArchiveSave(const ArchiveSaver::DueSave& due);
    bool voxStep();
    void levelMeterStep(bool active);
    void inputHealthStep();
    void periodicStep();
    void spaceStep();

    Services m_services;
    Settings& m_settings;
    std::unique_ptr<SoundReader> m_recorder;
    std::unique_ptr<RetryDialog> m_retryDialog;
    std::string m_openFailure; // why the last start failed, for the retry dialog
    std::atomic<bool> m_continuousMode{false};
    std::int32_t m_tickCount = 0;
    std::int32_t m_periodicCount = 0;
    bool m_firstTick = true;
    bool m_inTick = false;
    bool m_ticksStopped = false;
    bool m_unattended = false;
    bool m_soundLossAnnounced = false; // once per run: a notice for every dropout would pile up
    RunOutcome m_outcome;
    ArchiveSaver m_archive;
    // Deferred work holds a weak reference: it does nothing once the
    // controller is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    VoxSaver m_vox;
    SpaceGuard m_space;
};

} // namespace sorvella
