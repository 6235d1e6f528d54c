#include "Priority.h"

#include <sched.h>
#include <sys/resource.h>

namespace platform {
namespace {

// Kernel interrupt threads run at SCHED_FIFO 50; stay just below them.
constexpr int kRealTimePriority = 49;

} // namespace

void RaiseToTimeCritical()
{
    sched_param param{};
    param.sched_priority = kRealTimePriority;
    if (sched_setscheduler(0, SCHED_FIFO, &param) != 0) {
        setpriority(PRIO_PROCESS, 0, -20);
    }
}

void RestoreNormalPriority()
{
    sched_param param{};
    param.sched_priority = 0;
    sched_setscheduler(0, SCHED_OTHER, &param);
    setpriority(PRIO_PROCESS, 0, 0);
}

} // namespace platform
