#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace sorvella {

class ArchiveClock;
class Clock;
class Prompter;
class RingStore;
class SaveStarter;
struct Settings;
struct WaveFormat;

// Archive mode's saves at fixed clock times: every "Archiver Interval"
// seconds counted from UTC midnight, each file covering one interval with the
// "before:" and "after:" margins. With no margins consecutive files join
// sample-exactly. Main thread.
class ArchiveSaver {
public:
    struct Services {
        Settings& settings;
        const Clock& clock; // the file names' calendar time
        const ArchiveClock& archiveClock;
        Prompter& prompter;
        SaveStarter& saves;
    };

    // A save that fell due: its time and where the previous file ended.
    struct DueSave {
        std::int64_t due = 0;
        std::int64_t previousEnd = -1;
    };

    explicit ArchiveSaver(Services services);

    // The next save time after now; the next file does not join the last.
    void computeNextArchiveTime();

    // The archive step of a timer tick: the countdown for "Stop after:" and,
    // when a save fell due, that save (the next time is then already set).
    struct TickResult {
        std::string countdown;
        std::optional<DueSave> save;
    };
    TickResult tick(bool hasRecorder);

    // Saves the due file from `snapshot` of the recording in `format`. Start
    // failures are asked Retry/Cancel (kind 2) or shown; `unattended` gives
    // up at once, as nobody can fix the target.
    // False when the save could not be started.
    bool save(std::unique_ptr<RingStore> snapshot, const WaveFormat& format, const DueSave& due,
              bool unattended);

private:
    Services m_services;
};

} // namespace sorvella
