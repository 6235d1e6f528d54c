// SPDX-License-Identifier: GPL-3.0-or-later
#include "Priority.h"

#include "Clock.h"

#include <algorithm>
#include <ctime>
#include <sched.h>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Kernel interrupt threads run at SCHED_FIFO 50; stay just below them.
constexpr int kRealTimePriority = 49;

// The kernel lets real-time threads run 0.95 s in every second and then
// stops them for the rest of it. Two half-second windows back to back would
// lose up to 50 ms of the second one. So a bracket that follows one which
// kept the processor busy waits until the new one, as long as its caller
// says it may run, fits the budget again; brackets that mostly slept, and
// short ones, need no pause.
constexpr double kBudgetMs = 950.0;
constexpr double kPeriodMs = 1000.0;

double g_lastRestoreMs = 0;
double g_lastBusyMs = 0;
double g_raisedAtCpuMs = 0;
int g_lastCpu = -1;
ObtainedPriority g_lastObtained = ObtainedPriority::Neither;
// The thread's processors before a bracket moved it; restored on the way out.
cpu_set_t g_allowedBefore;
bool g_moved = false;
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

std::vector<int> allowedCpus(const cpu_set_t& set)
{
    std::vector<int> cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &set))
            cpus.push_back(cpu);
    return cpus;
}

// Moves the thread off the processor whose budget the last bracket used;
// false when there is nowhere else to go.
bool moveToFreshCpu()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return false;
    const std::vector<int> cpus = CpusWithFreshBudget(allowedCpus(allowed), g_lastCpu);
    if (cpus.empty())
        return false;
    cpu_set_t fresh;
    CPU_ZERO(&fresh);
    for (const int cpu : cpus)
        CPU_SET(cpu, &fresh);
    if (sched_setaffinity(0, sizeof fresh, &fresh) != 0)
        return false;
    g_allowedBefore = allowed;
    g_moved = true;
    return true;
}

void WaitForRealTimeBudget(double nextMs)
{
    const double wait =
        RealTimeBudgetWaitMs(g_lastBusyMs, PreciseMilliseconds() - g_lastRestoreMs, nextMs);
    if (wait > 0 && !moveToFreshCpu())
        SleepMilliseconds(static_cast<unsigned>(wait) + 1);
}

} // namespace

// Any second that holds part of both brackets holds the whole pause between
// them, so it holds at most a second less the pause of busy time: a pause of
// the period less the budget is always enough, however long the two are.
double RealTimeBudgetWaitMs(double lastBusyMs, double sinceLastMs, double nextMs)
{
    const double pause = std::min(lastBusyMs + nextMs - kBudgetMs, kPeriodMs - kBudgetMs);
    if (pause <= 0 || sinceLastMs < 0 || sinceLastMs >= pause)
        return 0;
    return pause - sinceLastMs;
}

std::vector<int> CpusWithFreshBudget(const std::vector<int>& allowed, int lastCpu)
{
    if (lastCpu < 0)
        return {};
    std::vector<int> fresh;
    for (const int cpu : allowed)
        if (cpu != lastCpu)
            fresh.push_back(cpu);
    return fresh;
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
    g_lastCpu = sched_getcpu();
    if (std::exchange(g_moved, false))
        sched_setaffinity(0, sizeof g_allowedBefore, &g_allowedBefore);
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
