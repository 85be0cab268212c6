// One tick of the main timer (RecordingController::onTimer) while the store
// holds ten minutes of sound, recording goes on and a Quick Save of those ten
// minutes runs; then archive mode's tick at its save time with a two-hour
// store. The window is the real one, drawn offscreen. First, the vox step of a
// tick on its own line.

#include "app/SaveWindowStarter.h"
#include "bench/BenchSupport.h"
#include "bench/BenchVoxTick.h"
#include "bench/Benchmarks.h"
#include "bench/OffscreenApplication.h"
#include "control/ArchiveClock.h"
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
#include "platform/files/StatvfsFreeSpace.h"
#include "save/SaveJobEnvironment.h"
#include "tests/support/SteppedEventPump.h"

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

constexpr std::int64_t kArchiveSeconds = 7200;
constexpr int kArchiveSaves = 30;

// The archive clock, moved by the benchmark to each save time.
class SteppedArchiveClock : public ArchiveClock {
public:
    ArchiveTime utcNow() const override { return {seconds, 0}; }
    std::int64_t seconds = 1'700'000'000;
};

bool fillStore(const RecordingController& controller, std::int64_t seconds)
{
    const auto fillLimit = Clock::now() + std::chrono::minutes(5);
    while (controller.recorder()->recordedSeconds() < seconds) {
        if (Clock::now() > fillLimit) {
            std::fprintf(stderr, "the store did not fill\n");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Ticks at archive save times with a two-hour store: the tick, and the
// snapshot and save start that follow it 100 ms later. Each save is cancelled
// at once; only its start counts.
bool archiveTicks(RecordingController& controller, Settings& settings, SimulatedSignal& signal,
                  SteppedArchiveClock& archiveClock, test::SteppedEventPump& pump,
                  OpenWindowList& openWindows)
{
    settings.loopMode = 1;
    settings.archiverInterval = static_cast<std::int32_t>(kArchiveSeconds);
    // A margin: every save takes the whole store, not only what is new.
    settings.archiverOverlap = 1;
    settings.archiverDelay = 0;
    signal.step(static_cast<std::uint64_t>(kArchiveSeconds) * settings.format.samplesPerSec);
    if (!fillStore(controller, kArchiveSeconds - 3)) {
        return false;
    }
    controller.computeNextArchiveTime();
    std::vector<double> times;
    for (int i = 0; i < kArchiveSaves; ++i) {
        archiveClock.seconds = settings.nextArchiveTime;
        const auto start = Clock::now();
        controller.onTimer();
        pump.runDeferred();
        times.push_back(milliseconds(Clock::now() - start));
        if (openWindows.empty()) {
            std::fprintf(stderr, "no archive save started\n");
            return false;
        }
        openWindows.closeAll();
        while (!openWindows.empty()) {
            pump.pump(std::chrono::milliseconds(10));
        }
    }
    std::printf("archive tick at its save time, %lld s store: archive_median_ms=%.4f "
                "archive_p99_ms=%.3f (budget: median < 1 ms, p99 < 10 ms)\n",
                static_cast<long long>(controller.recorder()->recordedSeconds()),
                percentile(times, 0.5), percentile(times, 0.99));
    return true;
}

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
    SteppedArchiveClock archiveClock;
    OpenWindowList openWindows;
    MainWindow window;
    StatusDisplay status(window, clock);
    PosixTargetFiles targetFiles;
    SaveJobEnvironment jobs(targetFiles);
    SaveWindowStarter saves(SaveWindowServices{jobs, openWindows, prompter}, nullptr, settings);
    test::SteppedEventPump pump;
    StatvfsFreeSpace freeSpace;
    RecordingController controller(RecordingController::Services{
        .settings = settings,
        .waveIn = waveIn,
        .session = session,
        .prompter = prompter,
        .clock = clock,
        .archiveClock = archiveClock,
        .view = window,
        .status = status,
        .openWindows = openWindows,
        .saves = saves,
        .pump = pump,
        .freeSpace = freeSpace,
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
    if (!fillStore(controller, kFilledSeconds)) {
        return 1;
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
    if (!archiveTicks(controller, settings, signal, archiveClock, pump, openWindows)) {
        return 1;
    }
    std::printf("ticks during the save: %zu\n", times.size());
    std::printf("p99_ms=%.3f max_ms=%.3f (budget: the 300 ms period)\n", percentile(times, 0.99),
                *std::max_element(times.begin(), times.end()));
    std::printf("median_ms=%.4f\n", percentile(times, 0.5));
    return 0;
}

} // namespace sorvella::bench
