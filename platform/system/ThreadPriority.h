#pragma once

namespace sorvella {

// The program's thread priority values (those of the timing profiles).
enum class ThreadPriority : int {
    Lowest = -2,
    BelowNormal = -1,
    Normal = 0,
    AboveNormal = 1,
    Highest = 2,
    TimeCritical = 15,
};

// Gives the calling thread, and only it, the priority as far as the process
// may: TimeCritical is SCHED_FIFO where permitted, else the lowest nice value
// the process is allowed; the others are nice values around 0 under the normal
// scheduler. A refused change is ignored. Does not block. A raised nice value
// cannot be lowered again without privileges, so call it only on threads of
// our own that keep their role.
void setCurrentThreadPriority(ThreadPriority priority) noexcept;

} // namespace sorvella
