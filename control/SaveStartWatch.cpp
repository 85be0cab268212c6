#include "control/SaveStartWatch.h"

#include "core/RecException.h"
#include "core/SaveTarget.h"

namespace sorvella {

void SaveStartWatch::startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target,
                               const BlockFilter* filter)
{
    try {
        m_saves.startSave(store, target, filter);
    } catch (const RecException& error) {
        m_refusal = error.message();
        throw;
    }
    m_started = target.fileName;
}

void SaveStartWatch::forget()
{
    m_started.reset();
    m_refusal.clear();
}

} // namespace sorvella
