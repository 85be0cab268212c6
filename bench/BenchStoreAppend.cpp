// One hour of 44.1 kHz stereo appended to a RingStore (journaled, as the
// recording's is), against the same bytes
// written by a plain write() loop to the same file system, alternating.

#include "bench/BenchSupport.h"
#include "bench/Benchmarks.h"
#include "core/Settings.h"
#include "engine/RingStore.h"
#include "engine/TempSession.h"
#include "platform/files/PosixBlockFiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace sorvella::bench {

namespace {

constexpr std::int64_t kTotalBytes = 3600LL * 44100 * 4; // 635,040,000
constexpr std::uint32_t kBufferBytes = 65536;
constexpr std::int64_t kBlock = RingStore::kBlockSize;
// ext4 without a journal will not reuse an inode freed in the last 60 s (in
// the last 6 min while its inode table block is dirty, as the next round's
// own creations make it), and steps over each such inode on every allocation
// in that block group. Right after a round deleted ~1200 block files, that
// would charge the next store round for the previous one. So the bench
// directory is marked as a top of directory hierarchies, and each round works
// in a randomly named directory in it: ext4 starts its search for such a
// directory's block group from a hash of the name (the session directory's
// own name is the same every round), so each round lands in a group of its
// own. At the store's real rate (one block every 3 s) the effect never matters.
void spreadSubdirectories(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags |= FS_TOPDIR_FL;
        if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
            std::printf("(cannot spread the rounds' directories: %s)\n", std::strerror(errno));
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
}

using Clock = std::chrono::steady_clock;

struct Timing {
    double megabytesPerSecond = 0;
    double cpuSeconds = 0;
};

// Writes back what earlier runs (ours and others') left dirty, then leaves the
// machine quiet for a moment, so that each timed run starts from the same
// state. Right after the other writer's burst, this virtual disk took the next
// burst at either twice or half the speed, whichever writer came next.
void settle(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
    std::this_thread::sleep_for(std::chrono::seconds(3));
}

// Times `write` (which writes kTotalBytes) in wall-clock and CPU time.
template <typename Write> Timing timed(const std::string& dir, Write&& write)
{
    settle(dir);
    const double cpu = cpuSeconds();
    const auto start = Clock::now();
    write();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return Timing{static_cast<double>(kTotalBytes) / 1e6 / seconds, cpuSeconds() - cpu};
}

std::uint32_t bufferAt(std::int64_t at)
{
    return static_cast<std::uint32_t>(std::min<std::int64_t>(kBufferBytes, kTotalBytes - at));
}

// The store as recording uses it: default settings, continuous mode.
Timing runStore(const std::string& dir, const SoundBuffers& sound)
{
    // A directory of its own per round: see spreadSubdirectories.
    std::string roundDir = dir + "/round-XXXXXX";
    if (::mkdtemp(roundDir.data()) == nullptr) {
        std::perror(roundDir.c_str());
        return Timing{};
    }
    Settings settings = settingsIn(roundDir);
    PosixBlockFiles files;
    TempSession session(settings, files);
    session.setUp();
    Timing timing;
    {
        RingStore store(settings, session);
        store.keepJournal(WaveFormat{});
        timing = timed(dir, [&] {
            for (std::int64_t at = 0; at < kTotalBytes; at += kBufferBytes) {
                store.append(sound.at(at), bufferAt(at));
            }
            store.endRecording();
        });
        if (store.heldBytes() != kTotalBytes) {
            std::fprintf(stderr, "store holds %lld bytes\n",
                         static_cast<long long>(store.heldBytes()));
        }
    } // deletes the block files
    StderrPrompter prompter;
    session.closeSession(prompter);
    ::rmdir(roundDir.c_str());
    return timing;
}

// The same bytes through write(), with the page-cache hint the store gives
// (each written range, and each finished 512 KiB stretch as a whole) and the
// flushing to disk of the store's file thread (every 2 s).
Timing runRaw(const std::string& dir, const SoundBuffers& sound)
{
    const std::string path = dir + "/raw.bin";
    const Timing timing = timed(dir, [&] {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) {
            std::perror(path.c_str());
            return;
        }
        auto nextSync = Clock::now() + BlockFileWorker::kSyncInterval;
        for (std::int64_t at = 0; at < kTotalBytes; at += kBufferBytes) {
            const std::uint32_t n = bufferAt(at);
            if (Clock::now() >= nextSync) {
                ::fdatasync(fd);
                nextSync = Clock::now() + BlockFileWorker::kSyncInterval;
            }
            if (::write(fd, sound.at(at), n) != static_cast<ssize_t>(n)) {
                std::perror("write");
                break;
            }
            ::posix_fadvise(fd, at, n, POSIX_FADV_DONTNEED);
            if ((at + n) % kBlock == 0) {
                ::posix_fadvise(fd, at + n - kBlock, kBlock, POSIX_FADV_DONTNEED);
            }
        }
        ::close(fd);
    });
    ::unlink(path.c_str());
    return timing;
}

} // namespace

int storeAppend(const std::vector<std::string>& args)
{
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    std::printf("directory: %s (%s)\n", dir->path().c_str(), dir->fileSystem().c_str());
    std::printf("appending %lld bytes (one hour of 44.1 kHz stereo) in %u-byte buffers\n",
                static_cast<long long>(kTotalBytes), kBufferBytes);
    const SoundBuffers sound;

    spreadSubdirectories(dir->path());
    auto store = [&] { return runStore(dir->path(), sound); };

    // Untimed: the first use of the file system's allocation maps and of the
    // sound's pages would otherwise fall on round 1's writers.
    store();
    runRaw(dir->path(), sound);

    std::vector<double> ratios;
    for (int round = 1; round <= 3; ++round) {
        Timing s;
        Timing r;
        if (round % 2 == 1) {
            s = store();
            r = runRaw(dir->path(), sound);
        } else {
            r = runRaw(dir->path(), sound);
            s = store();
        }
        ratios.push_back(r.megabytesPerSecond > 0 ? s.megabytesPerSecond / r.megabytesPerSecond
                                                  : 0);
        std::printf("round %d: store %.1f MB/s (cpu %.2f s), raw write() %.1f MB/s (cpu %.2f s), "
                    "store/raw %.3f\n",
                    round, s.megabytesPerSecond, s.cpuSeconds, r.megabytesPerSecond, r.cpuSeconds,
                    ratios.back());
        std::fflush(stdout);
    }
    const double rss = peakResidentMegabytes();
    std::printf("peak resident memory: %.1f MB (limit 64 MB)%s\n", rss,
                rss < 64 ? "" : "  OVER THE LIMIT");
    std::sort(ratios.begin(), ratios.end());
    std::printf("ratio=%.3f\n", ratios[ratios.size() / 2]);
    return rss < 64 ? 0 : 1;
}

} // namespace sorvella::bench
