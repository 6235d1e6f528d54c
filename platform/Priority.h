#pragma once

namespace platform {

// Raises the calling thread to real-time priority (SCHED_FIFO just below the
// kernel's interrupt threads) where permitted, else to nice -20 where
// permitted. Failures are ignored: the caller measures at whatever it got.
void RaiseToTimeCritical();

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

// How long a new bracket waits, given the processor time the last one used
// and the time since it ended (milliseconds).
double RealTimeBudgetWaitMs(double lastBusyMs, double sinceLastMs);

// Scope guard around a measurement: raises on entry, restores on every way out.
// A bracket that follows a busy one (over 400 ms of processor time) waits
// until the next can run 550 ms inside the kernel's real-time budget.
class TimeCriticalBracket
{
public:
    TimeCriticalBracket() { RaiseToTimeCritical(); }
    ~TimeCriticalBracket() { RestoreNormalPriority(); }
    TimeCriticalBracket(const TimeCriticalBracket&) = delete;
    TimeCriticalBracket& operator=(const TimeCriticalBracket&) = delete;
};

} // namespace platform
