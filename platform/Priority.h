// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace platform {

// The longest a bracket is expected to keep the processor busy, by default.
inline constexpr double kLongestBracketMs = 550.0;

// Raises the calling thread to real-time priority (SCHED_FIFO just below the
// kernel's interrupt threads) where permitted and where the real-time
// CPU-time limit (RLIMIT_RTTIME) covers `longestMs`, else to nice -20 where
// permitted. Failures are ignored: the caller measures at whatever it got.
// `longestMs` is how long the caller may keep the processor busy.
void RaiseToTimeCritical(double longestMs = kLongestBracketMs);

// Always returns to SCHED_OTHER at nice 0, whatever was in force before.
void RestoreNormalPriority();

// What a raise obtained: the real-time class, nice -20, or neither.
enum class ObtainedPriority
{
    Neither,
    Nice,
    RealTime,
};

// What the last RaiseToTimeCritical obtained; Neither before the first.
ObtainedPriority LastObtainedPriority();

// Whether the last RaiseToTimeCritical left out the real-time class because
// RLIMIT_RTTIME is too short for the bracket.
bool LastRealTimeLimited();

// How long a new bracket waits, given the processor time the last one used,
// the time since it ended and how long the new one may run (milliseconds):
// until no second can hold more real-time work than the kernel allows.
double RealTimeBudgetWaitMs(double lastBusyMs, double sinceLastMs,
                            double nextMs = kLongestBracketMs);

// The kernel keeps the real-time budget per processor: of the processors the
// thread may run on, those whose budget the last bracket (on `lastCpu`) did
// not use. Empty when there is none, or the last processor is unknown (-1).
std::vector<int> CpusWithFreshBudget(const std::vector<int>& allowed, int lastCpu);

// Scope guard around a measurement: raises on entry, restores on every way out.
// A bracket that follows a busy one runs on another processor, whose budget
// is untouched, where the thread may run on one; otherwise it waits until the
// next, of up to `longestMs`, fits inside the kernel's real-time budget. A
// short one after a half-second window needs neither.
class TimeCriticalBracket
{
public:
    explicit TimeCriticalBracket(double longestMs = kLongestBracketMs)
    {
        RaiseToTimeCritical(longestMs);
    }
    ~TimeCriticalBracket() { RestoreNormalPriority(); }
    TimeCriticalBracket(const TimeCriticalBracket&) = delete;
    TimeCriticalBracket& operator=(const TimeCriticalBracket&) = delete;
};

} // namespace platform
