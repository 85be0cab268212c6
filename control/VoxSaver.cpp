#include "control/VoxSaver.h"

#include "control/AutoSaveStart.h"
#include "control/Clock.h"
#include "control/MainThreadPriority.h"
#include "control/SaveStarter.h"
#include "control/TimeText.h"
#include "control/VoxProfile.h"
#include "core/Prompter.h"
#include "core/RecException.h"
#include "core/Settings.h"
#include "editor/FadeFilter.h"
#include "engine/RingStore.h"
#include "save/TargetRecord.h"

#include <algorithm>

namespace sorvella {

namespace {

constexpr const char* kNoPieceText = "--:--";
// Silence beyond this much more than the silence length is never needed.
constexpr std::int64_t kStaleSlack = 0x80000;
constexpr std::int32_t kFadesPerSecond = 40; // 25 ms fades at the cuts
constexpr std::int32_t kFullLevel = 100;

} // namespace

VoxSaver::VoxSaver(Services services) : m_services(std::move(services)) {}

bool VoxSaver::tick(const WaveFormat& format, bool editorUsable, std::string& lengthText)
{
    const std::int32_t key = m_services.settings.voxProfile;
    if (m_refusedKey == key) {
        return true;
    }
    m_refusedKey.reset();
    RingStore* store = m_services.liveStore();
    if (store == nullptr || format.avgBytesPerSec == 0) {
        return true;
    }
    try {
        const std::optional<VoxProfile> profile = voxProfile(key);
        if (!profile) {
            return true;
        }
        return cutIfDue(*store, *profile, format, editorUsable, lengthText);
    } catch (const RecException& error) {
        // Shown once; the recording itself goes on.
        m_refusedKey = key;
        m_services.prompter.tell(error.message());
        return true;
    }
}

bool VoxSaver::cutIfDue(RingStore& store, const VoxProfile& profile, const WaveFormat& format,
                        bool editorUsable, std::string& lengthText)
{
    const std::int32_t key = m_services.settings.voxProfile;
    const std::int64_t bytesPerSecond = format.avgBytesPerSec;
    const std::int64_t silence = voxSilenceBytes(key, format.avgBytesPerSec);
    const std::int64_t margin = voxMarginBytes(key, format.avgBytesPerSec);
    const std::int64_t first = store.firstLoudPosition();
    const std::int64_t last = store.lastLoudPosition();
    const std::int64_t held = store.heldBytes();

    if (first == -1) {
        lengthText = kNoPieceText;
        if (held > silence + kStaleSlack) {
            store.dropOldestBlock();
        }
        return false;
    }
    const std::int64_t length = (last - first) / bytesPerSecond;
    lengthText = timeText(length, TimeStyle::Short);
    const bool complete = last + silence < held;
    const bool tooLong = length > profile.maxPieceSeconds;
    if (!complete && !tooLong) {
        if (first > silence + kStaleSlack) {
            store.dropOldestBlock();
        }
        return true;
    }

    Piece piece{std::max<std::int64_t>(first - margin, 0),
                std::min<std::int64_t>(last + margin, held), held, -1};
    // A complete piece is followed by nothing but silence up to what is
    // held now, so all of that goes; a piece cut for its length keeps the
    // block its sound goes on in. Sound recorded from here on (while a box
    // or the editor is open) is never dropped.
    const std::int64_t handedBlocks = (complete ? held : piece.end) / RingStore::kBlockSize;
    if (handedBlocks > 0) {
        piece.lastHandedBlock =
            store.toAbsolute((handedBlocks - 1) * RingStore::kBlockSize) / RingStore::kBlockSize;
    }
    if (profile.editPiece && editorUsable) {
        m_services.editAndSave();
    } else {
        savePiece(store, piece, format);
    }
    dropHandedOver(piece.lastHandedBlock);
    return true;
}

void VoxSaver::savePiece(RingStore& store, const Piece& piece, const WaveFormat& format)
{
    // Only the piece's blocks: the tick stays short however much is held.
    std::unique_ptr<RingStore> snapshot =
        atSnapshotPriority(m_services.settings.timingProfile,
                           [&store, &piece] { return store.snapshot(piece.start, piece.end); });
    // Unattended, the box goes to standard error and answers Cancel.
    startAutoSave(m_services.prompter, false,
                  [&](SaveTarget& target) { startPieceSave(snapshot, piece, format, target); });
}

// The piece's file is named after when its sound was heard: it ended as long
// before now as the store holds after it.
void VoxSaver::startPieceSave(std::unique_ptr<RingStore>& snapshot, const Piece& piece,
                              const WaveFormat& format, SaveTarget& target)
{
    const std::int64_t bytesPerSecond = format.avgBytesPerSec;
    const std::int64_t endTime = m_services.clock.now() - (piece.held - piece.end) / bytesPerSecond;
    const std::int64_t startTime = endTime - (piece.end - piece.start) / bytesPerSecond;
    target = copyTarget(m_services.settings.target);
    target.sourceFormat = format;
    applyTimes(target, startTime, endTime);
    const std::int32_t fade = static_cast<std::int32_t>(bytesPerSecond / kFadesPerSecond);
    const std::int64_t shift = piece.start / RingStore::kBlockSize * RingStore::kBlockSize;
    const FadeFilter filter(fade, fade, piece.start - shift, piece.end - shift, kFullLevel);
    m_services.saves.startSave(snapshot, target, &filter);
}

// By block number, so that blocks the recording added meanwhile, or the
// store of a recording started anew, are never taken for handed-over ones.
void VoxSaver::dropHandedOver(std::int64_t lastHandedBlock)
{
    if (RingStore* store = m_services.liveStore()) {
        store->dropThrough(lastHandedBlock);
    }
}

} // namespace sorvella
