#include "editor/ui/QtSelectionSaves.h"

#include "core/Settings.h"
#include "save/TargetFileChoice.h"

namespace sorvella {

bool QtSelectionSaves::chooseTarget(SaveTarget& target)
{
    return chooseTargetFile(target, m_services.catalogue, m_saveAs.windows(), OverwriteCheck::Ask);
}

void QtSelectionSaves::startSave(std::unique_ptr<RingStore>& snapshot, const SaveTarget& target,
                                 const BlockFilter& filter)
{
    sorvella::startSave(m_services.windows, snapshot, m_services.mainWindow, target, &filter,
                        m_services.mainSettings.timingProfile);
}

} // namespace sorvella
