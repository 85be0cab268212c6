// Finding a crashed two-hour session and checking its journal against the
// block files' sizes, as the next start does. The block files are sparse:
// the check never reads the sound, only the sizes.

#include "bench/BenchSupport.h"
#include "bench/Benchmarks.h"
#include "engine/CrashRecovery.h"
#include "engine/TempSession.h"
#include "platform/files/PosixBlockFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

namespace sorvella::bench {

namespace {

constexpr int kRounds = 30;
constexpr double kBudgetMs = 1000;
constexpr std::int64_t kSessionBytes = 2LL * 3600 * 44100 * 4;

// What a run killed after two hours of recording leaves: its block files and
// its journal, in a session directory whose lock nobody holds.
std::int64_t leaveCrashedSession(const std::string& dir)
{
    namespace fs = std::filesystem;
    for (int i = 0; i < TempSession::kSubdirectories; ++i) {
        fs::create_directories(dir + "/" + std::to_string(i));
    }
    std::ofstream(dir + "/lock.txt") << "";
    StoreJournal journal;
    journal.startMs = 1'700'000'000'000;
    std::int64_t left = kSessionBytes;
    for (std::uint64_t index = 0; left > 0; ++index) {
        const auto fill = static_cast<std::uint32_t>(std::min(left, StoreBlock::kSize));
        const std::string path = dir + "/" + std::to_string(TempSession::subdirectoryFor(index)) +
                                 "/" + TempSession::fileNameFor(index);
        std::ofstream(path).close();
        fs::resize_file(path, fill);
        journal.blocks.push_back({index, fill});
        left -= fill;
    }
    std::ofstream(dir + "/journal-1-1.txt") << journal.text();
    return static_cast<std::int64_t>(journal.blocks.size());
}

} // namespace

int recover(const std::vector<std::string>& args)
{
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    const std::int64_t blocks = leaveCrashedSession(dir->path() + "/Quillet-3");
    std::printf("directory: %s (%s); a crashed session of 2 hours, %lld block files\n",
                dir->path().c_str(), dir->fileSystem().c_str(), static_cast<long long>(blocks));

    Settings settings = settingsIn(dir->path());
    PosixBlockFiles files;
    TempSession session(settings, files);
    session.setUp();
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        CrashRecovery recovery(settings, session, {});
        recovery.scan();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (recovery.recordings().size() != 1 ||
            recovery.recordings()[0].bytes() != kSessionBytes) {
            std::fprintf(stderr, "the crashed session was not found whole\n");
            return 1;
        }
    } // kept for later: the next round finds it again
    StderrPrompter prompter;
    session.closeSession(prompter);

    std::sort(times.begin(), times.end());
    const double p99 = times[std::min(times.size() - 1, static_cast<std::size_t>(0.99 * kRounds))];
    std::printf("%d scans: min %.1f ms, p50 %.1f ms, p99 %.1f ms, max %.1f ms (budget %.0f ms)\n",
                kRounds, times.front(), times[times.size() / 2], p99, times.back(), kBudgetMs);
    const double median = times[times.size() / 2];
    std::printf("median_ms=%.3f\n", median);
    return median <= kBudgetMs && p99 <= kBudgetMs ? 0 : 1;
}

} // namespace sorvella::bench
