#include "control/MainThreadPriority.h"

namespace sorvella {

ThreadPriority mainThreadPriority(std::int32_t timingProfile)
{
    return timingProfile <= 0 ? ThreadPriority::Normal : ThreadPriority::AboveNormal;
}

ThreadPriority snapshotPriority(std::int32_t timingProfile)
{
    return timingProfile <= 0 ? ThreadPriority::AboveNormal : ThreadPriority::Highest;
}

} // namespace sorvella
