#include "Priority.h"

#include "Clock.h"

#include <ctime>
#include <sched.h>
#include <sys/resource.h>

namespace platform {
namespace {

// Kernel interrupt threads run at SCHED_FIFO 50; stay just below them.
constexpr int kRealTimePriority = 49;

// The kernel lets real-time threads run 0.95 s in every second and then
// stops them for the rest of it. Two half-second windows back to back would
// lose up to 50 ms of the second one. So a bracket that follows one which
// kept the processor busy waits until the new one, as long as its caller
// says it may run (550 ms unless told), fits the budget again; brackets that
// mostly slept, and short ones, need no pause.
constexpr double kBudgetMs = 950.0;

double g_lastRestoreMs = 0;
double g_lastBusyMs = 0;
double g_raisedAtCpuMs = 0;
ObtainedPriority g_lastObtained = ObtainedPriority::Neither;
bool g_realTimeLimited = false;

// A real-time thread that runs past the soft RLIMIT_RTTIME without blocking
// is sent SIGXCPU, which ends the program. The limit must cover the bracket
// with room to spare, as a measurement may run somewhat past its estimate.
bool realTimeLimitCovers(double longestMs)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return true;
    return static_cast<double>(limit.rlim_cur) / 1000.0 >= 2 * longestMs;
}

double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void WaitForRealTimeBudget(double nextMs)
{
    const double wait =
        RealTimeBudgetWaitMs(g_lastBusyMs, PreciseMilliseconds() - g_lastRestoreMs, nextMs);
    if (wait > 0)
        SleepMilliseconds(static_cast<unsigned>(wait) + 1);
}

} // namespace

double RealTimeBudgetWaitMs(double lastBusyMs, double sinceLastMs, double nextMs)
{
    const double pause = lastBusyMs + nextMs - kBudgetMs;
    if (pause <= 0 || sinceLastMs < 0 || sinceLastMs >= pause)
        return 0;
    return pause - sinceLastMs;
}

void RaiseToTimeCritical(double longestMs)
{
    WaitForRealTimeBudget(longestMs);
    g_raisedAtCpuMs = threadCpuMilliseconds();
    sched_param param{};
    param.sched_priority = kRealTimePriority;
    g_realTimeLimited = !realTimeLimitCovers(longestMs);
    if (!g_realTimeLimited && sched_setscheduler(0, SCHED_FIFO, &param) == 0)
        g_lastObtained = ObtainedPriority::RealTime;
    else if (setpriority(PRIO_PROCESS, 0, -20) == 0)
        g_lastObtained = ObtainedPriority::Nice;
    else
        g_lastObtained = ObtainedPriority::Neither;
}

ObtainedPriority LastObtainedPriority()
{
    return g_lastObtained;
}

bool LastRealTimeLimited()
{
    return g_realTimeLimited;
}

void RestoreNormalPriority()
{
    sched_param param{};
    param.sched_priority = 0;
    sched_setscheduler(0, SCHED_OTHER, &param);
    setpriority(PRIO_PROCESS, 0, 0);
    g_lastRestoreMs = PreciseMilliseconds();
    // Only real-time threads are held to the budget.
    g_lastBusyMs = g_lastObtained == ObtainedPriority::RealTime
                       ? threadCpuMilliseconds() - g_raisedAtCpuMs
                       : 0.0;
}

} // namespace platform
