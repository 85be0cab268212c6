// A minute of plain recording, as a user leaves it running: the real
// `sorvella` from exec to exit against `arecord` on the same input, side by
// side. Ours runs once with the window minimised (into the tray where there
// is one) and once with it shown, both drawn offscreen, and is ended by
// SIGTERM; arecord ends on its own after the same time. Both record from ALSA
// "default", which is the PulseAudio test input while scripts/test-input.sh
// runs its server, and write onto the scratch directory's file system.

#include "bench/BenchSupport.h"
#include "bench/Benchmarks.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace sorvella::bench {

namespace {

constexpr int kDefaultSeconds = 60;

struct ProcessCost {
    double cpu = 0;
    double peakMegabytes = 0;
    double wakeUpsPerSecond = 0;
};

// A child process started with extra environment and its output in `log`.
class Child {
public:
    Child(std::vector<std::string> words, const std::vector<std::string>& extraEnvironment,
          const std::string& log)
        : m_started(std::chrono::steady_clock::now())
    {
        std::vector<std::string> environment = extraEnvironment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            environment.emplace_back(*entry);
        }
        std::vector<char*> argv = pointers(words);
        std::vector<char*> envp = pointers(environment);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        const int spawned =
            ::posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            m_pid = 0;
            std::fprintf(stderr, "cannot start %s\n", words[0].c_str());
        }
    }
    ~Child()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return m_pid > 0; }
    void terminate() const { ::kill(m_pid, SIGTERM); }

    // The high-water mark of its own memory. (The maximum resident size that
    // wait4 reports starts from the parent's, which a spawn carries over.)
    void sampleMemory()
    {
        std::FILE* status = std::fopen(("/proc/" + std::to_string(m_pid) + "/status").c_str(), "r");
        if (status == nullptr) {
            return;
        }
        char line[256];
        long kib = 0;
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) {
                m_peakKib = std::max(m_peakKib, kib);
            }
        }
        std::fclose(status);
    }

    // Whether it has ended; `ok` tells whether it succeeded.
    bool ended(ProcessCost& cost, bool& ok)
    {
        if (m_pid <= 0) {
            return true;
        }
        sampleMemory();
        int status = 0;
        rusage usage{};
        if (::wait4(m_pid, &status, WNOHANG, &usage) != m_pid) {
            return false;
        }
        m_pid = 0;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
        cost.cpu = cpuSeconds(usage);
        cost.peakMegabytes = static_cast<double>(m_peakKib) / 1024.0;
        cost.wakeUpsPerSecond = static_cast<double>(usage.ru_nvcsw) / wall;
        ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        return true;
    }

private:
    static std::vector<char*> pointers(std::vector<std::string>& words)
    {
        std::vector<char*> result;
        for (std::string& word : words) {
            result.push_back(word.data());
        }
        result.push_back(nullptr);
        return result;
    }

    pid_t m_pid = 0;
    long m_peakKib = 0;
    std::chrono::steady_clock::time_point m_started;
};

std::uintmax_t bytesUnder(const std::string& path)
{
    std::uintmax_t total = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
        if (entry.is_regular_file(error)) {
            total += entry.file_size(error);
        }
    }
    return total;
}

std::uintmax_t fileBytes(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

void printCost(const char* who, const ProcessCost& cost)
{
    std::printf("  %-8s %.3f s CPU, peak %.1f MB resident, %.1f wake-ups/s\n", who, cost.cpu,
                cost.peakMegabytes, cost.wakeUpsPerSecond);
}

// One round: both sides at once for `seconds`; returns arecord's CPU / ours,
// or a negative value when a side failed.
double sideBySide(const BenchDirectory& dir, int seconds, bool windowShown)
{
    const std::string ours = dir.path() + (windowShown ? "/shown" : "/hidden");
    std::filesystem::create_directories(ours + "/config");
    std::filesystem::create_directories(ours + "/temp");
    std::vector<std::string> program = {SORVELLA_PROGRAM};
    if (!windowShown) {
        program.emplace_back("-i");
    }
    Child recorder(program,
                   {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + ours + "/config",
                    "TMPDIR=" + ours + "/temp"},
                   ours + "/sorvella.log");
    Child peer({"arecord", "-q", "-D", "default", "-f", "cd", "-d", std::to_string(seconds),
                ours + "/arecord.wav"},
               {}, ours + "/arecord.log");
    if (!recorder.started() || !peer.started()) {
        return -1;
    }
    constexpr auto kSample = std::chrono::milliseconds(50);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    ProcessCost ourCost;
    ProcessCost peerCost;
    bool oursOk = false;
    bool peerOk = false;
    bool peerEnded = false;
    while (std::chrono::steady_clock::now() < deadline) {
        recorder.sampleMemory();
        peerEnded = peerEnded || peer.ended(peerCost, peerOk);
        std::this_thread::sleep_for(kSample);
    }
    const double recordedMegabytes = static_cast<double>(bytesUnder(ours + "/temp")) / 1048576.0;
    recorder.terminate();
    bool oursEnded = false;
    while (!oursEnded || !peerEnded) {
        oursEnded = oursEnded || recorder.ended(ourCost, oursOk);
        peerEnded = peerEnded || peer.ended(peerCost, peerOk);
        std::this_thread::sleep_for(kSample / 5);
    }
    std::printf("window %s: sorvella held %.1f MB, arecord wrote %.1f MB\n",
                windowShown ? "shown" : "hidden", recordedMegabytes,
                static_cast<double>(fileBytes(ours + "/arecord.wav")) / 1048576.0);
    printCost("sorvella", ourCost);
    printCost("arecord", peerCost);
    std::fflush(stdout);
    if (!oursOk || !peerOk || recordedMegabytes <= 0) {
        std::fprintf(stderr, "a side failed: see the logs in %s (is the test input running?)\n",
                     ours.c_str());
        return -1;
    }
    std::filesystem::remove_all(ours);
    return ourCost.cpu > 0 ? peerCost.cpu / ourCost.cpu : 0;
}

} // namespace

int recordIdle(const std::vector<std::string>& args)
{
    const auto dir = BenchDirectory::make(args.empty() ? std::string() : args[0]);
    if (!dir) {
        return 1;
    }
    const int seconds = secondsArgument(args, kDefaultSeconds);
    std::printf("directory: %s (%s), %d s of 44.1 kHz stereo from ALSA \"default\"\n",
                dir->path().c_str(), dir->fileSystem().c_str(), seconds);
    const double hidden = sideBySide(*dir, seconds, false);
    const double shown = hidden < 0 ? -1 : sideBySide(*dir, seconds, true);
    if (hidden < 0 || shown < 0) {
        return 1;
    }
    std::printf("window shown: ratio=%.3f (target 0.25)\n", shown);
    std::printf("ratio=%.3f (window hidden, target 0.5)\n", hidden);
    return 0;
}

} // namespace sorvella::bench
