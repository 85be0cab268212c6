#include "bench/EncodeBench.h"

#include "bench/BenchSupport.h"
#include "core/LittleEndian.h"
#include "core/RecException.h"
#include "core/SaveTarget.h"
#include "core/Settings.h"
#include "engine/RingStore.h"
#include "engine/TempSession.h"
#include "platform/files/PosixBlockFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/RiffBytes.h"
#include "save/SaveJob.h"
#include "save/SaveJobEnvironment.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <numbers>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace sorvella::bench {

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::int64_t kSoundBytes = 600LL * kRate * 4; // ten minutes of stereo
constexpr std::uint32_t kAppendBytes = 65536;
constexpr int kRounds = 3;

// Two tones (440 Hz left, 660 Hz right) under white noise: a recording an
// encoder cannot make light work of.
std::vector<std::uint8_t> recording()
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kSoundBytes));
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const double t = static_cast<double>(i / 4) / kRate;
        const double hz = (i % 4 == 0) ? 440.0 : 660.0;
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const double noise = static_cast<double>(state % 6001) - 3000.0;
        le::writeSample(&bytes[i], static_cast<std::int16_t>(
                                       8000.0 * std::sin(2 * std::numbers::pi * hz * t) + noise));
    }
    return bytes;
}

bool writeWav(const std::string& path, const std::vector<std::uint8_t>& sound)
{
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(sound.size());
    RiffBytes header;
    header.tag("RIFF").u32(36 + dataBytes).tag("WAVE").tag("fmt ").u32(16);
    header.u16(1).u16(2).u32(kRate).u32(kRate * 4).u16(4).u16(16);
    header.tag("data").u32(dataBytes);
    out.write(reinterpret_cast<const char*>(header.bytes().data()),
              static_cast<std::streamsize>(header.bytes().size()));
    out.write(reinterpret_cast<const char*>(sound.data()), static_cast<std::streamsize>(dataBytes));
    return static_cast<bool>(out);
}

// The save job's CPU time for the whole recording, on a thread of its own.
double runSave(const std::string& dir, const std::vector<std::uint8_t>& sound,
               const EncodeComparison& comparison)
{
    Settings settings = settingsIn(dir);
    PosixBlockFiles blockFiles;
    TempSession session(settings, blockFiles);
    session.setUp();
    auto store = std::make_unique<RingStore>(settings, session);
    for (std::size_t at = 0; at < sound.size(); at += kAppendBytes) {
        const auto n =
            static_cast<std::uint32_t>(std::min<std::size_t>(kAppendBytes, sound.size() - at));
        store->append(sound.data() + at, n);
    }
    store->endRecording();
    ::sync();

    PosixTargetFiles targetFiles;
    SaveJobEnvironment environment(targetFiles);
    SaveTarget target;
    target.sourceFormat = WaveFormat{};
    target.codec = comparison.codec;
    target.codecNumber = comparison.codecNumber;
    target.formatNumber = comparison.formatNumber;
    target.fileName = dir + "/ours." + comparison.codec->extension();
    SilentSaveView view;
    double cpu = 0;
    {
        SaveJob job(environment, store, target, nullptr);
        std::thread thread([&] {
            rusage before{};
            rusage after{};
            ::getrusage(RUSAGE_THREAD, &before);
            job.run(view);
            ::getrusage(RUSAGE_THREAD, &after);
            cpu = cpuSeconds(after) - cpuSeconds(before);
        });
        thread.join();
    }
    if (!view.failure().empty()) {
        throw RecException("save failed: " + view.failure());
    }
    ::unlink(target.fileName.c_str());
    StderrPrompter prompter;
    session.closeSession(prompter);
    return cpu;
}

// The peer's user + system time.
double runPeer(const std::string& dir, const std::string& wav, const EncodeComparison& comparison)
{
    const std::string out = dir + "/peer.out";
    std::vector<std::string> words;
    for (const std::string& word : comparison.peer) {
        words.push_back(word == "{in}" ? wav : word == "{out}" ? out : word);
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        throw RecException("cannot start " + words[0]);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw RecException(words[0] + " failed");
    }
    ::unlink(out.c_str());
    return cpuSeconds(usage);
}

} // namespace

int compareEncoding(const std::vector<std::string>& args, const EncodeComparison& comparison)
{
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    std::printf("directory: %s (%s)\n", dir->path().c_str(), dir->fileSystem().c_str());
    std::printf("ten minutes of 44.1 kHz stereo (tones under noise): %s vs %s\n",
                comparison.ours.c_str(), comparison.peerName.c_str());
    const std::vector<std::uint8_t> sound = recording();
    const std::string wav = dir->path() + "/recording.wav";
    if (!writeWav(wav, sound)) {
        std::perror(wav.c_str());
        return 1;
    }
    std::vector<double> ratios;
    try {
        for (int round = 1; round <= kRounds; ++round) {
            double ours = 0;
            double peer = 0;
            if (round % 2 == 1) {
                ours = runSave(dir->path(), sound, comparison);
                peer = runPeer(dir->path(), wav, comparison);
            } else {
                peer = runPeer(dir->path(), wav, comparison);
                ours = runSave(dir->path(), sound, comparison);
            }
            ratios.push_back(ours > 0 ? peer / ours : 0);
            std::printf("round %d: save job %.3f s CPU, %s %.3f s CPU, peer/ours %.3f\n", round,
                        ours, comparison.peerName.c_str(), peer, ratios.back());
            std::fflush(stdout);
        }
    } catch (const RecException& e) {
        std::fprintf(stderr, "%s\n", e.message().c_str());
        return 1;
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("ratio=%.3f\n", ratios[ratios.size() / 2]);
    return 0;
}

} // namespace sorvella::bench
