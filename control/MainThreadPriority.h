#pragma once

#include "platform/system/ThreadPriority.h"

#include <cstdint>

namespace sorvella {

// The main thread's priorities in a timing profile ("TimingProfile"; above 2
// counts as 2, below 0 as 0): between snapshots, and while taking one.
ThreadPriority mainThreadPriority(std::int32_t timingProfile);
ThreadPriority snapshotPriority(std::int32_t timingProfile);

} // namespace sorvella
