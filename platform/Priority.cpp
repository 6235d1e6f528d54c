#include "Priority.h"

#include "Clock.h"

#include <sched.h>
#include <sys/resource.h>

namespace platform {
namespace {

// Kernel interrupt threads run at SCHED_FIFO 50; stay just below them.
constexpr int kRealTimePriority = 49;

// The kernel lets real-time threads run 0.95 s in every second and then
// stops them for the rest of it. Two half-second windows back to back would
// lose up to 50 ms of the second one; a short pause between brackets keeps
// both inside the budget.
constexpr double kPauseBetweenBracketsMs = 100.0;

double g_lastRestoreMs = -1e12;

void WaitForRealTimeBudget()
{
    const double since = PreciseMilliseconds() - g_lastRestoreMs;
    if (since >= 0 && since < kPauseBetweenBracketsMs)
        SleepMilliseconds(static_cast<unsigned>(kPauseBetweenBracketsMs - since) + 1);
}

} // namespace

void RaiseToTimeCritical()
{
    WaitForRealTimeBudget();
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
    g_lastRestoreMs = PreciseMilliseconds();
}

} // namespace platform
