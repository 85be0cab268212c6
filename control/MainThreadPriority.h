#pragma once

#include "platform/system/ThreadPriority.h"

#include <cstdint>

namespace sorvella {

// The main thread's priorities in a timing profile ("TimingProfile"; above 2
// counts as 2, below 0 as 0): between snapshots, and while taking one.
ThreadPriority mainThreadPriority(std::int32_t timingProfile);
ThreadPriority snapshotPriority(std::int32_t timingProfile);

// Runs `take` (a snapshot of the recording's store) at the snapshot priority,
// so that the device callback waits on the store's lock as briefly as can be.
template <typename Take> auto atSnapshotPriority(std::int32_t timingProfile, Take take)
{
    setCurrentThreadPriority(snapshotPriority(timingProfile));
    auto taken = take();
    setCurrentThreadPriority(mainThreadPriority(timingProfile));
    return taken;
}

} // namespace sorvella
