// SPDX-License-Identifier: GPL-3.0-or-later
#include "Threads.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

namespace platform {

std::vector<int> UsableCpus()
{
    cpu_set_t mask;
    CPU_ZERO(&mask);
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof mask, &mask) == 0) {
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &mask))
                cpus.push_back(cpu);
        }
    }
    if (cpus.empty())
        cpus.push_back(0);
    return cpus;
}

bool PinCurrentThread(int cpu)
{
    if (cpu < 0 || cpu >= CPU_SETSIZE)
        return false;
    cpu_set_t mask;
    CPU_ZERO(&mask);
    CPU_SET(cpu, &mask);
    return pthread_setaffinity_np(pthread_self(), sizeof mask, &mask) == 0;
}

double ThreadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace platform
