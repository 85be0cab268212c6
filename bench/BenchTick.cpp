// One tick of the main timer (RecordingController::onTimer) while the store
// holds ten minutes of sound, recording goes on and a Quick Save of those ten
// minutes runs. The window is the real one, drawn offscreen. First, the vox
// step of a tick on its own line.

#include "app/SaveWindowStarter.h"
#include "app/qt/QtEventPump.h"
#include "bench/BenchSupport.h"
#include "bench/BenchVoxTick.h"
#include "bench/Benchmarks.h"
#include "bench/OffscreenApplication.h"
#include "control/Clock.h"
#include "control/OpenWindowList.h"
#include "control/RecordingController.h"
#include "control/StatusDisplay.h"
#include "control/ui/MainWindow.h"
#include "control/ui/QtRetryDialog.h"
#include "engine/TempSession.h"
#include "platform/fakes/SimulatedWaveInSystem.h"
#include "platform/files/PosixBlockFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/SaveJobEnvironment.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace sorvella::bench {

namespace {

constexpr std::int64_t kHeldSeconds = 600;
// The loop trims whole 512 KiB blocks (3 s each): it holds ten minutes less
// part of a block.
constexpr std::int64_t kFilledSeconds = kHeldSeconds - 3;
constexpr int kMaxTicks = 5000;
constexpr double kTickSeconds = 0.3;

using Clock = std::chrono::steady_clock;

} // namespace

int tick(const std::vector<std::string>& args)
{
    const OffscreenApplication qt;

    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    std::printf("directory: %s (%s)\n", dir->path().c_str(), dir->fileSystem().c_str());
    if (!voxTickLine(dir->path())) {
        return 1;
    }

    Settings settings = settingsIn(dir->path());
    settings.target.fileName = dir->path() + "/take%n.wav";
    settings.target.sourceFormat = settings.format;
    PosixBlockFiles blockFiles;
    TempSession session(settings, blockFiles);
    session.setUp();
    SimulatedSignal signal({SimulatedPace::Stepped});
    SimulatedWaveInSystem waveIn(signal);
    StderrPrompter prompter;
    SystemClock clock;
    OpenWindowList openWindows;
    MainWindow window;
    StatusDisplay status(window, clock);
    PosixTargetFiles targetFiles;
    SaveJobEnvironment jobs(targetFiles);
    SaveWindowStarter saves(SaveWindowServices{jobs, openWindows, prompter}, nullptr, settings);
    QtEventPump pump;
    RecordingController controller(RecordingController::Services{
        .settings = settings,
        .waveIn = waveIn,
        .session = session,
        .prompter = prompter,
        .clock = clock,
        .view = window,
        .status = status,
        .openWindows = openWindows,
        .saves = saves,
        .pump = pump,
        .retryDialogs = [&window] { return std::make_unique<QtRetryDialog>(&window); },
        .editor = nullptr,
        .closeApplication = [] {},
    });
    window.show();

    controller.onTimer();
    if (!controller.hasRecorder()) {
        std::fprintf(stderr, "recording did not start\n");
        return 1;
    }
    const std::uint32_t rate = settings.format.samplesPerSec;
    signal.step(static_cast<std::uint64_t>(kHeldSeconds + 10) * rate);
    const auto fillLimit = Clock::now() + std::chrono::minutes(2);
    while (controller.recorder()->recordedSeconds() < kFilledSeconds) {
        if (Clock::now() > fillLimit) {
            std::fprintf(stderr, "the store did not fill\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::printf("store: %lld s held\n",
                static_cast<long long>(controller.recorder()->recordedSeconds()));

    controller.quickSave(true);
    std::vector<double> times;
    while (!openWindows.empty() && static_cast<int>(times.size()) < kMaxTicks) {
        // Each tick sees another 300 ms of sound arriving, as in real time.
        signal.step(static_cast<std::uint64_t>(kTickSeconds * rate));
        const auto start = Clock::now();
        controller.onTimer();
        times.push_back(milliseconds(Clock::now() - start));
        QCoreApplication::processEvents();
    }
    const bool saveRan = !times.empty();
    while (!openWindows.empty()) {
        pump.pump(std::chrono::milliseconds(10));
    }
    if (!saveRan) {
        std::fprintf(stderr, "the save ended before the first tick\n");
        return 1;
    }
    std::printf("ticks during the save: %zu\n", times.size());
    std::printf("p99_ms=%.3f max_ms=%.3f (budget: the 300 ms period)\n", percentile(times, 0.99),
                *std::max_element(times.begin(), times.end()));
    std::printf("median_ms=%.4f\n", percentile(times, 0.5));
    return 0;
}

} // namespace sorvella::bench
