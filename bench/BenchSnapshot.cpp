// Snapshots of a store holding ten minutes while another thread keeps
// appending (and trimming to ten minutes), timed on the main thread.

#include "bench/BenchSupport.h"
#include "bench/Benchmarks.h"
#include "core/Settings.h"
#include "engine/RingStore.h"
#include "engine/TempSession.h"
#include "platform/files/PosixBlockFiles.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace sorvella::bench {

namespace {

constexpr std::int64_t kHeldBytes = 600LL * 44100 * 4; // ten minutes: 105,840,000
constexpr std::uint32_t kBufferBytes = 65536;
constexpr int kSnapshots = 200;
constexpr double kBudgetMs = 1.0;

using Clock = std::chrono::steady_clock;

} // namespace

int snapshot(const std::vector<std::string>& args)
{
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    std::printf("directory: %s (%s)\n", dir->path().c_str(), dir->fileSystem().c_str());
    Settings settings = settingsIn(dir->path());
    PosixBlockFiles files;
    TempSession session(settings, files);
    session.setUp();
    const SoundBuffers sound;

    std::vector<double> times;
    std::int64_t blocks = 0;
    {
        RingStore store(settings, session);
        appendSound(store, sound, kHeldBytes, kBufferBytes);
        std::int64_t at = kHeldBytes;
        // Recording goes on in the background: one 64 KiB buffer every
        // 2 ms (about 190 times real time), trimmed to ten minutes.
        std::atomic<bool> stop{false};
        std::atomic<std::int64_t> appended{0};
        std::thread recorder([&, at]() mutable {
            while (!stop.load(std::memory_order_relaxed)) {
                store.append(sound.at(at), kBufferBytes);
                at += kBufferBytes;
                store.trimTo(kHeldBytes);
                appended.fetch_add(kBufferBytes, std::memory_order_relaxed);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });

        for (int i = 0; i < kSnapshots; ++i) {
            const auto start = Clock::now();
            auto copy = store.snapshot();
            times.push_back(milliseconds(Clock::now() - start));
            blocks = static_cast<std::int64_t>(copy->blockCount());
            copy.reset();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        stop.store(true);
        recorder.join();
        std::printf("store: %lld blocks, %lld bytes held; %lld bytes appended during the run\n",
                    static_cast<long long>(blocks), static_cast<long long>(store.heldBytes()),
                    static_cast<long long>(appended.load()));
    }
    StderrPrompter prompter;
    session.closeSession(prompter);

    std::sort(times.begin(), times.end());
    auto percentile = [&](double p) {
        return times[std::min(times.size() - 1,
                              static_cast<std::size_t>(p * static_cast<double>(times.size())))];
    };
    std::printf(
        "%d snapshots: min %.3f ms, p50 %.3f ms, p99 %.3f ms, max %.3f ms (budget %.1f ms)\n",
        kSnapshots, times.front(), percentile(0.5), percentile(0.99), times.back(), kBudgetMs);
    std::printf("peak resident memory: %.1f MB\n", peakResidentMegabytes());
    const double median = times[times.size() / 2];
    std::printf("median_ms=%.3f\n", median);
    return median <= kBudgetMs ? 0 : 1;
}

} // namespace sorvella::bench
