// The vox step of the main timer's tick with a two-hour store holding a
// piece to cut: the loud marks, the snapshot, the start of the piece's save
// and the dropping of what was handed over. Each run works on a copy of the
// same store (sharing its block files), so the two hours are written once.

#include "bench/BenchVoxTick.h"

#include "app/SaveWindowStarter.h"
#include "app/qt/QtEventPump.h"
#include "bench/BenchSupport.h"
#include "control/Clock.h"
#include "control/OpenWindowList.h"
#include "control/VoxSaver.h"
#include "engine/TempSession.h"
#include "platform/files/PosixBlockFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/SaveJobEnvironment.h"

#include <optional>
#include <unistd.h>

namespace sorvella::bench {

namespace {

constexpr std::int64_t kStoreBytes = 2LL * 3600 * 44100 * 4;
constexpr std::uint32_t kBufferBytes = 0x10000;
constexpr std::int64_t kPieceBytes = 5LL * 44100 * 4;
constexpr std::int64_t kSilenceAfterBytes = 10LL * 44100 * 4;
constexpr int kRuns = 40;
// Above the background sound's peaks (16000): only the piece is loud.
constexpr std::int32_t kTrigger = 20000;

using Clock = std::chrono::steady_clock;

// Two hours of quiet sound, a loud piece of 5 s and 10 s of silence.
void recordPieceAtTheEnd(RingStore& store)
{
    appendSound(store, SoundBuffers(), kStoreBytes, kBufferBytes);
    std::vector<std::uint8_t> loud(kPieceBytes);
    for (std::size_t i = 0; i < loud.size(); i += 2) {
        le::writeSample(&loud[i], (i / 2) % 2 == 0 ? 30000 : -30000);
    }
    store.append(loud.data(), static_cast<std::uint32_t>(loud.size()));
    const std::vector<std::uint8_t> silence(kSilenceAfterBytes);
    store.append(silence.data(), static_cast<std::uint32_t>(silence.size()));
    store.endRecording();
}

} // namespace

bool voxTickLine(const std::string& directory)
{
    Settings settings = settingsIn(directory);
    settings.target.fileName = directory + "/vox%n.wav";
    settings.target.sourceFormat = settings.format;
    settings.voxVolume = kTrigger;
    PosixBlockFiles blockFiles;
    TempSession session(settings, blockFiles);
    session.setUp();
    std::optional<RingStore> twoHours(std::in_place, settings, session);
    recordPieceAtTheEnd(*twoHours);
    // The two hours' writeback is the set-up's, not the tick's.
    ::sync();

    StderrPrompter prompter;
    SystemClock clock;
    OpenWindowList openWindows;
    PosixTargetFiles targetFiles;
    SaveJobEnvironment jobs(targetFiles);
    SaveWindowStarter saves(SaveWindowServices{jobs, openWindows, prompter}, nullptr, settings);
    QtEventPump pump;
    std::unique_ptr<RingStore> live;
    VoxSaver vox(VoxSaver::Services{
        .settings = settings,
        .prompter = prompter,
        .clock = clock,
        .saves = saves,
        .liveStore = [&live] { return live.get(); },
        .editAndSave = [] {},
    });

    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        live = twoHours->snapshot();
        std::string length;
        const auto start = Clock::now();
        vox.tick(settings.format, false, length);
        times.push_back(milliseconds(Clock::now() - start));
        if (live->heldBytes() >= RingStore::kBlockSize || openWindows.empty()) {
            std::fprintf(stderr, "the vox step cut no piece\n");
            return false;
        }
        live.reset();
        while (!openWindows.empty()) {
            pump.pump(std::chrono::milliseconds(5));
        }
    }
    twoHours.reset();
    session.closeSession(prompter);
    std::printf("vox tick, two-hour store, piece cut: median_ms=%.4f p99_ms=%.3f "
                "(budget: median < 1 ms, p99 < 10 ms)\n",
                percentile(times, 0.5), percentile(times, 0.99));
    return true;
}

} // namespace sorvella::bench
