#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sorvella {

class Clock;
class FreeSpace;
class MainView;
class Prompter;
struct Settings;
struct StatusInput;

// Watches the temporary directory's file system for the recording. At a
// start, at each restart and every kCheckSeconds it compares the free space
// with what the recording mode will need, and keeps a warning line for the
// status; the first shortage of a program run also gets a box with both
// figures. A full disk (the reader paused) has a line of its own and, once a
// run, a notice that does not wait for the user. A query that fails (a
// network file system) means the space is unknown: no warning.
// Main thread, driven by the controller's tick.
class SpaceGuard {
public:
    static constexpr std::int64_t kCheckSeconds = 30;
    // Continuous recording without an automatic save: the space of this long.
    static constexpr std::int64_t kOpenEndedSeconds = 600;
    static constexpr const char* kCaption = "Free space";
    static constexpr const char* kDiskFullText =
        "Disk full: recording paused; everything recorded so far is kept";

    struct Services {
        const FreeSpace& freeSpace;
        const Clock& clock;
        Prompter& prompter;
        MainView& view;
    };

    explicit SpaceGuard(Services services) : m_services(services) {}

    // A recording (re)started: the next tick checks at once.
    void recordingStarted() { m_nextCheck.reset(); }

    // One tick of a running recording in `directory`; `needed` is what the
    // mode will still write (neededBytes). Returns the status line, empty
    // while all is well.
    std::string tick(const std::string& directory, std::int64_t needed, bool diskFull);

    // Loop: the keep limit less what is held; continuous: up to the automatic
    // save, else kOpenEndedSeconds.
    static std::int64_t neededBytes(const StatusInput& input, const Settings& settings);

private:
    void check(const std::string& directory, std::int64_t needed);

    Services m_services;
    std::optional<std::int64_t> m_nextCheck;
    std::string m_shortage;
    bool m_shortageShown = false;
    bool m_diskFullShown = false;
};

} // namespace sorvella
