#include "platform/system/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace sorvella {
namespace {

// Well below what audio servers use for their own threads, so ours never
// starves them.
constexpr int kFifoPriority = 10;
constexpr int kLowestNice = -20;

int niceFor(ThreadPriority priority)
{
    switch (priority) {
    case ThreadPriority::Lowest:
        return 10;
    case ThreadPriority::BelowNormal:
        return 5;
    case ThreadPriority::Normal:
        return 0;
    case ThreadPriority::AboveNormal:
        return -5;
    case ThreadPriority::Highest:
        return -10;
    case ThreadPriority::TimeCritical:
        break;
    }
    return kLowestNice;
}

// The lowest nice value RLIMIT_NICE lets an unprivileged thread take.
int lowestPermittedNice()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NICE, &limit) != 0) {
        return 0;
    }
    if (limit.rlim_cur == RLIM_INFINITY) {
        return kLowestNice;
    }
    return std::clamp(20 - static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 40)), kLowestNice, 19);
}

// On Linux a thread id given to setpriority names that one thread only.
void setThreadNice(int wanted)
{
    const pid_t thread = gettid();
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(thread), wanted) == 0) {
        return;
    }
    const int permitted = std::max(wanted, lowestPermittedNice());
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    if (errno == 0 && permitted < current) {
        setpriority(PRIO_PROCESS, static_cast<id_t>(thread), permitted);
    }
}

bool tryFifo()
{
    sched_param param{};
    param.sched_priority = kFifoPriority;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) {
        return true;
    }
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) != 0 || limit.rlim_cur == 0) {
        return false;
    }
    param.sched_priority = static_cast<int>(std::min<rlim_t>(limit.rlim_cur, kFifoPriority));
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

void leaveFifo()
{
    int policy = SCHED_OTHER;
    sched_param param{};
    if (pthread_getschedparam(pthread_self(), &policy, &param) == 0 && policy != SCHED_OTHER) {
        param.sched_priority = 0;
        pthread_setschedparam(pthread_self(), SCHED_OTHER, &param);
    }
}

} // namespace

void setCurrentThreadPriority(ThreadPriority priority) noexcept
{
    if (priority == ThreadPriority::TimeCritical && tryFifo()) {
        return;
    }
    if (priority != ThreadPriority::TimeCritical) {
        leaveFifo();
    }
    setThreadNice(niceFor(priority));
}

} // namespace sorvella
