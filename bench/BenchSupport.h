#pragma once

// What the benchmarks share: a disk-backed scratch directory, synthetic
// sound, a save job without a window and the process's peak memory.

#include "core/LittleEndian.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "engine/RingStore.h"
#include "save/SaveJobView.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <sys/resource.h>
#include <sys/vfs.h>
#include <vector>

namespace sorvella::bench {

// The default settings with their temporary directory in `dir`.
inline Settings settingsIn(const std::string& dir)
{
    Settings settings;
    settings.tempDirectoryUseWindows = false;
    settings.tempDirectory = dir;
    return settings;
}

// Message boxes of a benchmark go to standard error.
class StderrPrompter : public Prompter {
public:
    Answer ask(const std::string& text, const std::string& caption, Buttons, Icon) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return Answer::Ok;
    }
};

// A fresh directory under the given parent (default /var/tmp, else the
// current directory when that is not disk-backed), removed at the end.
class BenchDirectory {
public:
    static std::unique_ptr<BenchDirectory> make(const std::string& parent)
    {
        std::string base = parent;
        if (base.empty()) {
            base = "/var/tmp";
            if (fileSystemOf(base) == "tmpfs") {
                base = std::filesystem::current_path().string();
            }
        }
        if (fileSystemOf(base) == "tmpfs") {
            std::fprintf(stderr, "warning: %s is tmpfs, not disk-backed\n", base.c_str());
        }
        std::string pattern = base + "/sorvella-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror(pattern.c_str());
            return nullptr;
        }
        return std::unique_ptr<BenchDirectory>(new BenchDirectory(pattern));
    }
    ~BenchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::string& path() const { return m_path; }
    std::string fileSystem() const { return fileSystemOf(m_path); }

    static std::string fileSystemOf(const std::string& path)
    {
        struct statfs info {};
        if (::statfs(path.c_str(), &info) != 0) {
            return "unknown";
        }
        switch (static_cast<unsigned long>(info.f_type)) {
        case 0x01021994UL:
            return "tmpfs";
        case 0xEF53UL:
            return "ext4";
        case 0x58465342UL:
            return "xfs";
        case 0x9123683EUL:
            return "btrfs";
        case 0x794C7630UL:
            return "overlayfs";
        default: {
            char hex[32];
            std::snprintf(hex, sizeof hex, "fs 0x%lx", static_cast<unsigned long>(info.f_type));
            return hex;
        }
        }
    }

private:
    explicit BenchDirectory(std::string path) : m_path(std::move(path)) {}
    std::string m_path;
};

// 16-bit stereo: two tones under a slowly changing level, one second long,
// readable as a contiguous buffer at any offset of an endless stream.
class SoundBuffers {
public:
    static constexpr std::size_t kPeriod = 44100 * 4;
    static constexpr std::size_t kLongestRead = 1 << 20;

    SoundBuffers() : m_bytes(kPeriod + kLongestRead)
    {
        for (std::size_t i = 0; i < m_bytes.size(); i += 2) {
            const std::size_t frame = (i % kPeriod) / 4;
            const double t = static_cast<double>(frame) / 44100.0;
            const double level =
                4000 + 12000 * (0.5 + 0.5 * std::sin(2 * std::numbers::pi * 0.5 * t));
            const double tone = (i % 4 == 0) ? std::sin(2 * std::numbers::pi * 440 * t)
                                             : std::sin(2 * std::numbers::pi * 660 * t);
            le::writeSample(&m_bytes[i], static_cast<std::int16_t>(level * tone));
        }
    }

    const std::uint8_t* at(std::int64_t streamOffset) const
    {
        return m_bytes.data() + static_cast<std::size_t>(streamOffset) % kPeriod;
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Appends the first `bytes` bytes of the endless sound to the store in
// buffers of `bufferBytes`, as recording does.
inline void appendSound(RingStore& store, const SoundBuffers& sound, std::int64_t bytes,
                        std::uint32_t bufferBytes)
{
    for (std::int64_t at = 0; at < bytes; at += bufferBytes) {
        store.append(sound.at(at),
                     static_cast<std::uint32_t>(std::min<std::int64_t>(bufferBytes, bytes - at)));
    }
}

inline double milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The value below which `fraction` of the values lie (0.5: the median).
inline double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[at];
}

// The optional seconds argument of a run that plays or records for a time
// (args[1]; args[0] names the scratch directory's parent).
inline int secondsArgument(const std::vector<std::string>& args, int fallback)
{
    return args.size() > 1 ? std::max(1, std::atoi(args[1].c_str())) : fallback;
}

// User plus system time of a resource usage.
inline double cpuSeconds(const rusage& usage)
{
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// User plus system time of the process so far.
inline double cpuSeconds()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return cpuSeconds(usage);
}

inline double peakResidentMegabytes()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

} // namespace sorvella::bench
