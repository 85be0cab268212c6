#include "save/SaveJobEnvironment.h"

#include <thread>

namespace sorvella {

SaveJobEnvironment::SaveJobEnvironment(TargetFiles& files, Pause pause)
    : m_files(files), m_pause(std::move(pause))
{
}

bool SaveJobEnvironment::claimCodec()
{
    std::int32_t free = 0;
    return m_openCodecs.compare_exchange_strong(free, 1, std::memory_order_acq_rel);
}

void SaveJobEnvironment::releaseCodec()
{
    m_openCodecs.fetch_sub(1, std::memory_order_acq_rel);
}

SaveJobEnvironment::Pause SaveJobEnvironment::defaultPause()
{
    return [](std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); };
}

} // namespace sorvella
