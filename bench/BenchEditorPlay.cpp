// A minute of the editor's playback: EditorPlayer streaming a store to ALSA
// "default" (the test server's null sink while scripts/test-input.sh runs
// it) against aplay playing the same sound from a WAV file, side by side, in
// CPU time: ours is this process's (the play thread and the sound server's
// client threads), aplay's its own.

#include "bench/BenchSupport.h"
#include "bench/Benchmarks.h"
#include "editor/EditorPlayer.h"
#include "editor/PlaybackEvents.h"
#include "editor/WaveformMapping.h"
#include "engine/RingStore.h"
#include "engine/TempSession.h"
#include "platform/audio/AlsaWaveOut.h"
#include "platform/files/PosixBlockFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/WavWriter.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace sorvella::bench {

namespace {

constexpr int kDefaultSeconds = 60;
constexpr std::uint32_t kAppendBytes = 65536;

// Counts cursor moves and lets the benchmark wait for the end.
class EndWaiter : public PlaybackEvents {
public:
    void cursorAt(int) override { ++m_cursorMoves; }
    void playbackEnded() override
    {
        const std::lock_guard lock(m_mutex);
        m_ended = true;
        m_endedChanged.notify_all();
    }

    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_endedChanged.wait(lock, [this] { return m_ended; });
    }
    long cursorMoves() const { return m_cursorMoves; }

private:
    std::atomic<long> m_cursorMoves{0};
    std::mutex m_mutex;
    std::condition_variable m_endedChanged;
    bool m_ended = false;
};

// aplay on the WAV file, started now; its CPU seconds once it ends, or a
// negative value when it failed.
class Aplay {
public:
    explicit Aplay(const std::string& wav)
    {
        std::vector<std::string> words = {"aplay", "-q", "-D", "default", wav};
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        if (::posix_spawnp(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            m_pid = 0;
        }
    }
    ~Aplay()
    {
        if (m_pid > 0) {
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Aplay(const Aplay&) = delete;
    Aplay& operator=(const Aplay&) = delete;

    double cpuAtEnd()
    {
        if (m_pid <= 0) {
            return -1;
        }
        int status = 0;
        rusage usage{};
        ::wait4(m_pid, &status, 0, &usage);
        m_pid = 0;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? cpuSeconds(usage) : -1;
    }

private:
    pid_t m_pid = 0;
};

} // namespace

int editorPlay(const std::vector<std::string>& args)
{
    const int seconds = secondsArgument(args, kDefaultSeconds);
    const WaveFormat format;
    const std::int64_t bytes = std::int64_t{seconds} * format.avgBytesPerSec;
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    std::printf("directory: %s (%s), %d s of 44.1 kHz stereo to ALSA \"default\"\n",
                dir->path().c_str(), dir->fileSystem().c_str(), seconds);

    const Settings settings = settingsIn(dir->path());
    PosixBlockFiles blockFiles;
    TempSession session(settings, blockFiles);
    session.setUp();
    RingStore store(settings, session);
    PosixTargetFiles targetFiles;
    WavWriter wav;
    const std::string wavPath = dir->path() + "/peer.wav";
    const SoundBuffers sound;
    try {
        wav.open(targetFiles, wavPath, format, bytes);
        for (std::int64_t at = 0; at < bytes; at += kAppendBytes) {
            const auto n =
                static_cast<std::uint32_t>(std::min<std::int64_t>(kAppendBytes, bytes - at));
            store.append(sound.at(at), n);
            wav.write(sound.at(at), n);
        }
        store.endRecording();
        wav.close();
    } catch (const RecException& error) {
        std::fprintf(stderr, "preparing the sound failed: %s\n", error.what());
        return 1;
    }

    WaveformMapping mapping(store.heldBytes());
    mapping.setWidth(1000);
    AlsaWaveOutSystem output;
    EndWaiter events;
    EditorPlayer player(store, format, mapping, output, events);
    Aplay peer(wavPath);
    const double before = cpuSeconds();
    player.pressPlay(EditMode::Play, false, 0);
    events.wait();
    const std::optional<RecException> failure = player.finish();
    const double ours = cpuSeconds() - before;
    const double theirs = peer.cpuAtEnd();
    if (failure || theirs < 0) {
        std::fprintf(stderr, "a side failed: %s (is the test input running?)\n",
                     failure ? failure->what() : "aplay");
        return 1;
    }
    std::printf("  sorvella %.3f s CPU, %ld cursor moves\n", ours, events.cursorMoves());
    std::printf("  aplay    %.3f s CPU\n", theirs);
    std::printf("ratio=%.3f (target 0.5)\n", ours > 0 ? theirs / ours : 0);
    return 0;
}

} // namespace sorvella::bench
