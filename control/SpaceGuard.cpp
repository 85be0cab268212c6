#include "control/SpaceGuard.h"

#include "control/Clock.h"
#include "control/MainView.h"
#include "control/StatusDisplay.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "platform/files/FreeSpace.h"
#include "save/SaveSpace.h"

#include <algorithm>

namespace sorvella {
namespace {

enum AutoSaveAction : std::int32_t { SaveAfter = 2, EditAfter = 3 };

} // namespace

std::string SpaceGuard::tick(const std::string& directory, std::int64_t needed, bool diskFull)
{
    const std::int64_t now = m_services.clock.now();
    if (!m_nextCheck || now >= *m_nextCheck) {
        m_nextCheck = now + kCheckSeconds;
        check(directory, needed);
    }
    if (!diskFull) {
        return m_shortage;
    }
    if (!m_diskFullShown) {
        m_diskFullShown = true;
        m_services.view.showNotice(kCaption, kDiskFullText);
    }
    return kDiskFullText;
}

void SpaceGuard::check(const std::string& directory, std::int64_t needed)
{
    const std::optional<std::int64_t> free = m_services.freeSpace.available(directory);
    if (!free || *free >= needed) {
        m_shortage.clear();
        return;
    }
    m_shortage = "Low disk space: " + sizeText(*free, false) + " free, the recording needs " +
                 sizeText(needed, true);
    if (!m_shortageShown) {
        m_shortageShown = true;
        m_services.prompter.ask("Only " + sizeText(*free, false) +
                                    " are free for the recording in \"" + directory +
                                    "\"; it needs " + sizeText(needed, true) +
                                    ". When the disk is full, recording pauses.",
                                kCaption, Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
}

std::int64_t SpaceGuard::neededBytes(const StatusInput& input, const Settings& settings)
{
    const std::int64_t rate = input.format.avgBytesPerSec;
    if (!input.continuousMode && input.keepSeconds > 0) {
        return std::max<std::int64_t>(0, input.keepSeconds * rate - input.heldBytes);
    }
    const std::int32_t action = settings.autoSaveAction;
    if (input.continuousMode && settings.autoSaveTime > 0 &&
        (action == SaveAfter || action == EditAfter)) {
        return std::max<std::int64_t>(0, settings.autoSaveTime - input.recordedSeconds) * rate;
    }
    return kOpenEndedSeconds * rate;
}

} // namespace sorvella
