// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishedTick.h"

#include "Clock.h"

#include <csignal>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace platform {
namespace {

std::atomic<bool> g_inUse{false};
// What the timer's owner had before it; one owner at a time.
struct sigaction g_previousAction
{
};
sigset_t g_previousMask;

// clock_gettime is async-signal-safe.
void onTimer(int)
{
    detail::publishedTick.store(TickCount(), std::memory_order_relaxed);
}

int timerSignal()
{
    return SIGRTMIN;
}

sigset_t timerSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, timerSignal());
    return set;
}

void restoreSignal()
{
    sigaction(timerSignal(), &g_previousAction, nullptr);
    pthread_sigmask(SIG_SETMASK, &g_previousMask, nullptr);
}

bool startTimer(timer_t& timer)
{
    struct sigaction action
    {
    };
    action.sa_handler = onTimer;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    if (sigaction(timerSignal(), &action, &g_previousAction) != 0)
        return false;
    // A thread started by a parent that blocks the signal inherits the mask:
    // the timer would then run and the value never move.
    const sigset_t set = timerSignalSet();
    if (pthread_sigmask(SIG_UNBLOCK, &set, &g_previousMask) != 0) {
        sigaction(timerSignal(), &g_previousAction, nullptr);
        return false;
    }

    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = timerSignal();
    event._sigev_un._tid = gettid();
    if (timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) {
        restoreSignal();
        return false;
    }
    const itimerspec everyMillisecond{{0, 1'000'000}, {0, 1'000'000}};
    if (timer_settime(timer, 0, &everyMillisecond, nullptr) != 0) {
        timer_delete(timer);
        restoreSignal();
        return false;
    }
    return true;
}

// Takes every signal still queued, the thread blocking it: under the
// restored disposition (by default the end of the process) none may arrive.
void discardQueuedSignals(const sigset_t& set)
{
    const timespec now{0, 0};
    while (sigtimedwait(&set, nullptr, &now) > 0) {
    }
}

} // namespace

PublishedTickCount::PublishedTickCount()
{
    if (g_inUse.exchange(true))
        return; // another one runs: this one reads the clock directly
    detail::publishedTick.store(TickCount(), std::memory_order_relaxed);
    timer_t timer{};
    m_timerRunning = startTimer(timer);
    m_published = m_timerRunning;
    if (m_timerRunning)
        m_timer = timer;
    else
        g_inUse.store(false);
}

PublishedTickCount::~PublishedTickCount()
{
    if (!m_timerRunning)
        return;
    const sigset_t set = timerSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    timer_delete(static_cast<timer_t>(m_timer));
    discardQueuedSignals(set);
    restoreSignal();
    g_inUse.store(false);
}

std::uint32_t PublishedTickCount::checkedAgainstClock(std::uint32_t value) const
{
    m_readsSinceCheck = 0;
    const std::uint32_t now = TickCount();
    if (static_cast<std::uint32_t>(now - value) <= kLongestLagMs)
        return value;
    m_published = false; // the signal does not arrive: read the clock from now on
    return now;
}

} // namespace platform
