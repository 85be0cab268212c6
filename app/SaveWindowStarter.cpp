#include "app/SaveWindowStarter.h"

#include "core/SaveTarget.h"
#include "core/Settings.h"

namespace sorvella {

void SaveWindowStarter::startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target,
                                  const BlockFilter* filter)
{
    std::function<void(bool)> ended;
    if (m_ended) {
        ended = [handler = m_ended, file = target.fileName](bool ok) { handler(file, ok); };
    }
    sorvella::startSave(m_services, store, m_parent, target, filter, m_settings.timingProfile,
                        ended);
}

} // namespace sorvella
