#pragma once

#include "app/SaveWindowStarter.h"
#include "app/qt/QtEventPump.h"
#include "control/ApplicationCloser.h"
#include "control/ArchiveClock.h"
#include "control/Clock.h"
#include "control/EditorOpener.h"
#include "control/OpenWindowList.h"
#include "control/RecordingController.h"
#include "control/StatusDisplay.h"
#include "platform/fakes/FakeFreeSpace.h"
#include "platform/fakes/SimulatedWaveInSystem.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/SaveJobEnvironment.h"
#include "tests/control/RecordingMainView.h"
#include "tests/engine/StoreFixture.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/SteppedEventPump.h"
#include "tests/support/WaitFor.h"

#include <QApplication>

#include <functional>
#include <memory>
#include <vector>

namespace sorvella::test {

// The one QApplication of a test process (offscreen): save windows are real.
inline void ensureQApplication()
{
    static int argc = 1;
    static char name[] = "sorvella-control-tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        new QApplication(argc, argv);
    }
}

// The calendar time and the archive clock, both set by the test.
class ManualClock : public Clock, public ArchiveClock {
public:
    std::int64_t now() const override { return time; }
    ArchiveTime utcNow() const override { return {time, milliseconds}; }
    std::int64_t time = 1'700'000'000;
    std::int32_t milliseconds = 0;
};

// Answers from the script; `duringAsk` runs inside the box, as the event loop
// of a real box would run timer ticks.
class ScriptedPrompter : public FakePrompter {
public:
    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               Icon icon) override
    {
        const Answer answer = FakePrompter::ask(text, caption, buttons, icon);
        if (duringAsk) {
            duringAsk(boxes.back());
        }
        return answer;
    }

    std::vector<Box> withCaption(const std::string& caption) const
    {
        std::vector<Box> found;
        for (const Box& box : boxes) {
            if (box.caption == caption) {
                found.push_back(box);
            }
        }
        return found;
    }

    std::function<void(const Box&)> duringAsk;
};

// What happened to the retry dialogs the controller opened.
struct RetryDialogLog {
    int opened = 0;
    int open = 0;
    std::vector<std::int32_t> shown;
    std::vector<std::string> reasons;
    bool cancel = false;
};

class FakeRetryDialog : public RetryDialog {
public:
    explicit FakeRetryDialog(RetryDialogLog& log) : m_log(log)
    {
        ++m_log.opened;
        ++m_log.open;
    }
    ~FakeRetryDialog() override { --m_log.open; }
    void show(std::int32_t remaining) override { m_log.shown.push_back(remaining); }
    void showReason(const std::string& reason) override { m_log.reasons.push_back(reason); }
    bool cancelled() const override { return m_log.cancel; }

private:
    RetryDialogLog& m_log;
};

class FakeEditor : public EditorOpener {
public:
    void openEditor(std::unique_ptr<RingStore> store) override
    {
        stores.push_back(std::move(store));
    }
    std::vector<std::unique_ptr<RingStore>> stores;
};

// A recording controller with everything real that a user meets (the
// simulated input device with the shared buffering, block files, save jobs
// with their "Saving..." windows, target files) and fakes for the window,
// message boxes, time and the retry dialog. The input is stepped: a test
// decides how much sound arrives.
struct ControllerFixture : StoreFixture {
    ControllerFixture()
    {
        ensureQApplication();
        settings.target.fileName = (targets.path() / "take%n.wav").string();
        settings.target.sourceFormat = settings.format;
    }

    ~ControllerFixture()
    {
        closer.reset();
        controller.reset();
        openWindows.closeAll();
    }

    // A controller for the settings as the test left them.
    RecordingController& make(EditorOpener* editor = nullptr)
    {
        controller = std::make_unique<RecordingController>(RecordingController::Services{
            .settings = settings,
            .waveIn = realInput != nullptr ? *realInput : waveIn,
            .session = session,
            .prompter = prompter,
            .clock = clock,
            .archiveClock = clock,
            .view = view,
            .status = status,
            .openWindows = openWindows,
            .saves = saves,
            .pump = pump,
            .freeSpace = freeSpace,
            .retryDialogs = [this] { return std::make_unique<FakeRetryDialog>(retries); },
            .editor = editor,
            .closeApplication = [this] { closer->closeApplication(true); },
        });
        closer = std::make_unique<ApplicationCloser>(ApplicationCloser::Services{
            .settings = settings,
            .controller = *controller,
            .openWindows = openWindows,
            .status = status,
            .session = session,
            .prompter = prompter,
            .quit = [this] { ++quits; },
        });
        return *controller;
    }

    // The first tick starts recording.
    RecordingController& startRecording(EditorOpener* editor = nullptr)
    {
        RecordingController& made = make(editor);
        made.onTimer();
        return made;
    }

    // Mono at 16384 Hz in 512-byte kernel buffers: a second is 64 whole
    // buffers, so the store holds exactly the sound that was stepped.
    void useWholeSecondBuffers()
    {
        settings.format.channels = 1;
        settings.format.samplesPerSec = 16384;
        settings.format.deriveFields();
        settings.target.sourceFormat = settings.format;
        settings.bufferSizeTotal = 2048;
        settings.bufferGranularity = 6;
    }

    std::int64_t bytesPerSecond() const { return settings.format.avgBytesPerSec; }

    // `seconds` more of sound arrive; returns once the store holds them.
    bool record(std::int64_t seconds)
    {
        const std::int64_t target =
            controller->recorder()->heldBytes() + seconds * bytesPerSecond();
        signal.step(static_cast<std::uint64_t>(seconds) * settings.format.samplesPerSec);
        return waitFor([&] { return controller->recorder()->heldBytes() >= target; });
    }

    // Every save window closed: its job has ended.
    bool savesFinished()
    {
        return waitFor([&] {
            pump.pump(std::chrono::milliseconds(1));
            return openWindows.empty();
        });
    }

    std::filesystem::path targetFile(int n) const
    {
        return targets.path() / ("take" + std::to_string(n) + ".wav");
    }

    TempDir targets{"targets"};
    // The input's sample k, when a test scripts it (set before recording
    // starts); the counter otherwise.
    SimulatedSignal::SampleFunction sound;
    SimulatedSignal signal{{.pace = SimulatedPace::Stepped, .sample = [this](std::uint64_t k) {
                                return sound ? sound(k) : SimulatedSignal::counterSample(k);
                            }}};
    SimulatedWaveInSystem waveIn{signal};
    // A real capture system to record from instead, when a test sets it.
    WaveInSystem* realInput = nullptr;
    ScriptedPrompter prompter;
    ManualClock clock;
    RecordingMainView view;
    StatusDisplay status{view, clock};
    OpenWindowList openWindows;
    PosixTargetFiles targetFiles;
    SaveJobEnvironment jobs{targetFiles};
    SaveWindowStarter saves{SaveWindowServices{jobs, openWindows, prompter}, nullptr, settings};
    SteppedEventPump pump;
    FakeFreeSpace freeSpace;
    RetryDialogLog retries;
    int quits = 0;
    std::unique_ptr<RecordingController> controller;
    std::unique_ptr<ApplicationCloser> closer;
};

} // namespace sorvella::test
