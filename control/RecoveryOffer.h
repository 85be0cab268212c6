#pragma once

#include "control/EditorOpener.h"
#include "control/RecoveryChoiceView.h"
#include "control/SaveStarter.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "engine/CrashRecovery.h"
#include "save/SaveAsWindows.h"

namespace sorvella {

class CodecCatalogue;

// At an interactive start: offers each recording that runs which died left
// (CrashRecovery) to be saved (the usual file choice, then a save job), opened
// in the editor, kept for later or discarded; tells about sound that cannot
// be recovered. Nothing is deleted unless the user discards it: a cancelled
// file choice keeps the recording, a save that cannot start opens it in the
// editor instead. Main thread.
class RecoveryOffer {
public:
    struct Services {
        const Settings& settings; // the target whose template names the file
        const CodecCatalogue& catalogue;
        SaveAsWindows saveAs;
        SaveStarter& saves;
        EditorOpener& editor;
        RecoveryChoiceView& view;
        Prompter& prompter;
    };

    explicit RecoveryOffer(Services services);

    void offer(CrashRecovery& recovery);

private:
    void save(CrashRecovery& recovery, std::size_t i);
    // With its overview drawn, so the editor shows the sound.
    void openInEditor(std::unique_ptr<RingStore> store);

    Services m_services;
};

} // namespace sorvella
