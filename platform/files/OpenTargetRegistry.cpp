#include "platform/files/OpenTargetRegistry.h"

namespace sorvella {

bool OpenTargetRegistry::claim(FileIdentity file)
{
    std::lock_guard lock(m_mutex);
    return m_held.insert(file).second;
}

void OpenTargetRegistry::release(FileIdentity file)
{
    std::lock_guard lock(m_mutex);
    m_held.erase(file);
}

} // namespace sorvella
