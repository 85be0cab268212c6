#pragma once

#include "core/WaveFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sorvella {

class Clock;
class Prompter;
class RingStore;
class SaveStarter;
struct SaveTarget;
struct Settings;
struct VoxProfile;

// Sound-activated recording: on every timer tick, looks at the loud marks of
// the recording's store and, once a stretch of sound is followed by enough
// silence (or has grown too long), saves it with its margins as a file of its
// own (or hands it to the editor) and drops it from the store. Between pieces
// it drops silence one block per tick. Keeps no state of its own between
// ticks except a profile it has already refused. Main thread.
class VoxSaver {
public:
    struct Services {
        Settings& settings;
        Prompter& prompter;
        const Clock& clock;
        SaveStarter& saves;
        // The recording's store now; null when nothing records. Asked again
        // after every box and editor, which let the recording change.
        std::function<RingStore*()> liveStore;
        // "Edit and Save" of the main window, for the "Edit:" profiles.
        std::function<void()> editAndSave;
    };

    explicit VoxSaver(Services services);

    // One tick on the live store recorded in `format`. Puts the length of the
    // current piece, or "--:--" without one, into `lengthText` and answers
    // whether any sound is held (the meters are dimmed otherwise). Without
    // an editor to use, "Edit:" profiles save. Never throws.
    bool tick(const WaveFormat& format, bool editorUsable, std::string& lengthText);

private:
    struct Piece {
        std::int64_t start;
        std::int64_t end;
        std::int64_t held;
        // The last block number handed over: dropped from the store after.
        std::int64_t lastHandedBlock;
    };

    bool cutIfDue(RingStore& store, const VoxProfile& profile, const WaveFormat& format,
                  bool editorUsable, std::string& lengthText);
    void savePiece(RingStore& store, const Piece& piece, const WaveFormat& format);
    void startPieceSave(std::unique_ptr<RingStore>& snapshot, const Piece& piece,
                        const WaveFormat& format, SaveTarget& target);
    void dropHandedOver(std::int64_t lastHandedBlock);

    Services m_services;
    // A key that raised an error: vox stays idle until the setting changes.
    std::optional<std::int32_t> m_refusedKey;
};

} // namespace sorvella
