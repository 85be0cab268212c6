#include "control/ArchiveSaver.h"

#include "control/ArchiveClock.h"
#include "control/AutoSaveStart.h"
#include "control/Clock.h"
#include "control/SaveStarter.h"
#include "control/TimeText.h"
#include "core/Settings.h"
#include "engine/RingStore.h"
#include "save/RangeFilter.h"
#include "save/TargetRecord.h"

#include <algorithm>

namespace sorvella {
namespace {

// A save this much overdue (the computer slept) is skipped.
constexpr std::int64_t kMissedSeconds = 30;
// A save time this close ahead counts as passed when the next is computed.
constexpr std::int64_t kLeadSeconds = 3;

// A nonsensical interval from a settings file must not divide by zero.
std::int64_t intervalOf(const Settings& settings)
{
    return std::max<std::int64_t>(settings.archiverInterval.load(), 1);
}

} // namespace

ArchiveSaver::ArchiveSaver(Services services) : m_services(services) {}

void ArchiveSaver::computeNextArchiveTime()
{
    Settings& settings = m_services.settings;
    const std::int64_t now = m_services.archiveClock.utcNow().seconds;
    const std::int64_t interval = intervalOf(settings);
    const std::int64_t overlap = settings.archiverOverlap.load();
    // Division toward zero, as the schedule has always rounded.
    const std::int64_t n = (secondOfUtcDay(now) - overlap + kLeadSeconds) / interval;
    settings.nextArchiveTime = utcMidnightPlus(now, (n + 1) * interval + overlap);
    settings.lastArchiveEnd = -1;
}

ArchiveSaver::TickResult ArchiveSaver::tick(bool hasRecorder)
{
    Settings& settings = m_services.settings;
    const std::int64_t now = m_services.archiveClock.utcNow().seconds;
    // A clock stepped back would leave the next time far ahead and the
    // archive silent until the clock caught up.
    const std::int64_t farthest =
        intervalOf(settings) + std::max(settings.archiverOverlap.load(), 0) + kLeadSeconds;
    if (settings.nextArchiveTime - now > farthest) {
        computeNextArchiveTime();
    }
    TickResult result{"---", std::nullopt};
    const std::int64_t next = settings.nextArchiveTime;
    if (now < next) {
        const std::string left = timeText(next - now, TimeStyle::Long);
        result.countdown = hasRecorder ? left : "(" + left + ")";
        return result;
    }
    if (now >= next + kMissedSeconds) {
        computeNextArchiveTime();
        return result;
    }
    const DueSave due{next, settings.lastArchiveEnd};
    computeNextArchiveTime();
    if (hasRecorder) {
        result.save = due;
    }
    return result;
}

bool ArchiveSaver::save(std::unique_ptr<RingStore> snapshot, const WaveFormat& format,
                        const DueSave& due, bool unattended)
{
    Settings& settings = m_services.settings;
    const std::int64_t bps = std::max<std::int64_t>(format.avgBytesPerSec, 1);
    const std::int64_t nowT = m_services.clock.now();
    const std::int64_t held = snapshot->heldBytes();
    const ArchiveTime nowC = m_services.archiveClock.utcNow();
    const std::int64_t late = nowC.seconds - due.due;
    const std::int64_t msBytes = nowC.milliseconds * bps / 1000 / 4 * 4;
    const std::int64_t overlap = settings.archiverOverlap.load();
    const std::int64_t delay = settings.archiverDelay.load();
    const std::int64_t span = overlap - delay + settings.archiverInterval.load();

    std::int64_t end = held - late * bps - msBytes;
    std::int64_t start = held - ((span + late) * bps + msBytes);
    std::int64_t startTime = nowT - late - span;
    if (start <= 0) {
        start = 0;
        startTime = nowT - held / bps;
    }
    const std::int64_t endTime = nowT - late;

    const bool seamless = overlap == 0 && delay == 0;
    if (seamless && due.previousEnd >= 0) {
        const std::int64_t previous = snapshot->toLogical(due.previousEnd);
        if (previous > 0) {
            start = previous;
        }
    }
    end = std::clamp<std::int64_t>(end, 0, held);
    if (end <= start) {
        // Nothing new to save; the next file goes on from the same place.
        if (seamless) {
            settings.lastArchiveEnd = due.previousEnd;
        }
        return true;
    }
    if (seamless) {
        settings.lastArchiveEnd = snapshot->toAbsolute(end);
    }

    const RangeFilter range(start, end);
    // A snapshot no job took over is deleted with `snapshot`.
    return startAutoSave(m_services.prompter, unattended, [&](SaveTarget& target) {
        target = copyTarget(settings.target);
        target.sourceFormat = format;
        applyTimes(target, startTime, endTime);
        m_services.saves.startSave(snapshot, target, &range);
    });
}

} // namespace sorvella
