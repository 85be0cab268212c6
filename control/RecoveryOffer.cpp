#include "control/RecoveryOffer.h"

#include "core/RecException.h"
#include "engine/RecoveryTexts.h"
#include "save/TargetFileChoice.h"
#include "save/TargetRecord.h"

namespace sorvella {

RecoveryOffer::RecoveryOffer(Services services) : m_services(std::move(services)) {}

void RecoveryOffer::offer(CrashRecovery& recovery)
{
    for (const std::string& dir : recovery.unreadable()) {
        m_services.prompter.tell(unreadableText(dir));
    }
    for (std::size_t i = 0; i < recovery.recordings().size(); ++i) {
        const LeftRecording& left = recovery.recordings()[i];
        std::string text = offerText(left);
        if (!left.keptCutSave.empty()) {
            text += "\n" + cutSaveText(left);
        }
        for (const std::string& problem : left.problems) {
            text += "\n" + problem;
        }
        using Choice = RecoveryChoiceView::Choice;
        switch (m_services.view.choose(text)) {
        case Choice::Save:
            save(recovery, i);
            break;
        case Choice::OpenInEditor:
            openInEditor(recovery.take(i));
            break;
        case Choice::Discard:
            recovery.discard(i);
            break;
        case Choice::KeepForLater:
            break;
        }
    }
}

// The file is named after the recording's own times.
void RecoveryOffer::save(CrashRecovery& recovery, std::size_t i)
{
    const LeftRecording& left = recovery.recordings()[i];
    SaveTarget target = copyTarget(m_services.settings.target);
    target.sourceFormat = left.format;
    const std::int64_t start = left.startMs / 1000;
    applyTimes(target, start, start + left.lengthMs() / 1000);
    if (!chooseTargetFile(target, m_services.catalogue, m_services.saveAs, OverwriteCheck::Ask)) {
        return; // kept for later
    }
    std::unique_ptr<RingStore> store = recovery.take(i);
    try {
        m_services.saves.startSave(store, target, nullptr);
    } catch (const RecException& error) {
        m_services.prompter.tell(error.message());
        openInEditor(std::move(store)); // held there, not lost
    }
}

void RecoveryOffer::openInEditor(std::unique_ptr<RingStore> store)
{
    try {
        store->rebuildOverviews();
    } catch (const RecException& error) {
        // The sound is still there to play and save; only its picture is missing.
        m_services.prompter.tell(error.message());
    }
    m_services.editor.openEditor(std::move(store));
}

} // namespace sorvella
