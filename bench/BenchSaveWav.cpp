// Ten minutes of 44.1 kHz stereo saved as WAV by the save job, against dd
// copying a file of the same size on the same file system, alternating.

#include "bench/BenchSupport.h"
#include "bench/Benchmarks.h"
#include "core/RecException.h"
#include "core/SaveTarget.h"
#include "core/Settings.h"
#include "engine/RingStore.h"
#include "engine/TempSession.h"
#include "platform/files/PosixBlockFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/SaveJob.h"
#include "save/SaveJobEnvironment.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace sorvella::bench {

namespace {

constexpr std::int64_t kSoundBytes = 600LL * 44100 * 4; // 105,840,000
constexpr std::uint32_t kBufferBytes = 65536;
constexpr int kRounds = 3;

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// A /proc/self/status value in KiB ("VmRSS", "VmHWM"); -1 when unknown.
long statusKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Starts a new peak of resident memory from the current level.
bool resetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

struct SaveRun {
    double seconds = 0;
    long peakExtraKiB = -1;
};

// The recording as the store keeps it (default settings: written past the
// page cache), then saved through the job on this thread; only the save is
// timed.
SaveRun runSave(const std::string& dir, const SoundBuffers& sound)
{
    Settings settings = settingsIn(dir);
    PosixBlockFiles blockFiles;
    TempSession session(settings, blockFiles);
    session.setUp();
    auto store = std::make_unique<RingStore>(settings, session);
    appendSound(*store, sound, kSoundBytes, kBufferBytes);
    store->endRecording();
    ::sync();

    PosixTargetFiles targetFiles;
    SaveJobEnvironment environment(targetFiles);
    SaveTarget target;
    target.fileName = dir + "/saved.wav";
    SilentSaveView view;
    SaveRun run;
    const long rssBefore = statusKiB("VmRSS");
    const bool peakReset = resetPeakMemory();
    const auto start = Clock::now();
    {
        SaveJob job(environment, store, target, nullptr);
        job.run(view);
    }
    run.seconds = seconds(Clock::now() - start);
    if (peakReset) {
        run.peakExtraKiB = statusKiB("VmHWM") - rssBefore;
    }
    if (!view.failure().empty()) {
        std::fprintf(stderr, "save failed: %s\n", view.failure().c_str());
    }
    ::unlink(target.fileName.c_str());
    StderrPrompter prompter;
    session.closeSession(prompter);
    return run;
}

// A file of the same size, written the way the store writes its blocks
// (each piece dropped from the page cache), then copied by dd; only the copy
// is timed.
double runCopy(const std::string& dir, const SoundBuffers& sound)
{
    const std::string source = dir + "/source.raw";
    const std::string copy = dir + "/copy.raw";
    PosixBlockFiles files;
    std::unique_ptr<BlockFile> file = files.createExclusive(source);
    if (!file) {
        std::perror(source.c_str());
        return 0;
    }
    for (std::int64_t at = 0; at < kSoundBytes; at += kBufferBytes) {
        const auto n =
            static_cast<std::size_t>(std::min<std::int64_t>(kBufferBytes, kSoundBytes - at));
        file->writeAt(at, sound.at(at), n);
        file->dropCache(at, static_cast<std::int64_t>(n));
        if ((at + static_cast<std::int64_t>(n)) % RingStore::kBlockSize == 0) {
            file->dropCache(at + static_cast<std::int64_t>(n) - RingStore::kBlockSize,
                            RingStore::kBlockSize); // as a store drops a block it closes
        }
    }
    file.reset();
    ::sync();

    const std::string command = "dd if='" + source + "' of='" + copy + "' bs=512K status=none";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double elapsed = seconds(Clock::now() - start);
    if (status != 0) {
        std::fprintf(stderr, "dd failed (%d)\n", status);
    }
    ::unlink(source.c_str());
    ::unlink(copy.c_str());
    return elapsed;
}

} // namespace

int saveWav(const std::vector<std::string>& args)
{
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    std::printf("directory: %s (%s)\n", dir->path().c_str(), dir->fileSystem().c_str());
    std::printf("saving %lld bytes (ten minutes of 44.1 kHz stereo) as WAV vs dd bs=512K\n",
                static_cast<long long>(kSoundBytes));
    const SoundBuffers sound;

    std::vector<double> ratios;
    long peakExtraKiB = -1;
    try {
        for (int round = 1; round <= kRounds; ++round) {
            SaveRun save;
            double copy = 0;
            if (round % 2 == 1) {
                save = runSave(dir->path(), sound);
                copy = runCopy(dir->path(), sound);
            } else {
                copy = runCopy(dir->path(), sound);
                save = runSave(dir->path(), sound);
            }
            peakExtraKiB = std::max(peakExtraKiB, save.peakExtraKiB);
            ratios.push_back(save.seconds > 0 ? copy / save.seconds : 0);
            std::printf("round %d: save %.3f s, dd copy %.3f s, copy/save %.3f\n", round,
                        save.seconds, copy, ratios.back());
            std::fflush(stdout);
        }
    } catch (const RecException& e) {
        std::fprintf(stderr, "%s\n", e.message().c_str());
        return 1;
    }
    if (peakExtraKiB >= 0) {
        std::printf("peak extra memory of the save job: %.2f MiB (one block is 0.5 MiB)\n",
                    static_cast<double>(peakExtraKiB) / 1024.0);
    } else {
        std::printf("peak extra memory of the save job: unknown (no /proc/self/clear_refs)\n");
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("ratio=%.3f\n", ratios[ratios.size() / 2]);
    return 0;
}

} // namespace sorvella::bench
