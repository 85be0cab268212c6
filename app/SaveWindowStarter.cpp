#include "app/SaveWindowStarter.h"

#include "core/Settings.h"

namespace sorvella {

void SaveWindowStarter::startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target,
                                  const BlockFilter* filter)
{
    sorvella::startSave(m_services, store, m_parent, target, filter, m_settings.timingProfile,
                        m_failed);
}

} // namespace sorvella
