#include "PublishedTick.h"

#include "Clock.h"

#include <csignal>
#include <ctime>
#include <unistd.h>

namespace platform {
namespace {

std::atomic<bool> g_inUse{false};
struct sigaction g_previousAction
{
};

// clock_gettime is async-signal-safe.
void onTimer(int)
{
    detail::publishedTick.store(TickCount(), std::memory_order_relaxed);
}

int timerSignal()
{
    return SIGRTMIN;
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

    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = timerSignal();
    event._sigev_un._tid = gettid();
    if (timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) {
        sigaction(timerSignal(), &g_previousAction, nullptr);
        return false;
    }
    const itimerspec everyMillisecond{{0, 1'000'000}, {0, 1'000'000}};
    if (timer_settime(timer, 0, &everyMillisecond, nullptr) != 0) {
        timer_delete(timer);
        sigaction(timerSignal(), &g_previousAction, nullptr);
        return false;
    }
    return true;
}

} // namespace

PublishedTickCount::PublishedTickCount()
{
    if (g_inUse.exchange(true))
        return; // another one runs: this one reads the clock directly
    detail::publishedTick.store(TickCount(), std::memory_order_relaxed);
    timer_t timer{};
    m_published = startTimer(timer);
    if (m_published)
        m_timer = timer;
    else
        g_inUse.store(false);
}

PublishedTickCount::~PublishedTickCount()
{
    if (!m_published)
        return;
    timer_delete(static_cast<timer_t>(m_timer));
    // The default action of a real-time signal ends the process: a signal
    // still queued from the deleted timer is ignored instead.
    struct sigaction after = g_previousAction;
    if (after.sa_handler == SIG_DFL)
        after.sa_handler = SIG_IGN;
    sigaction(timerSignal(), &after, nullptr);
    g_inUse.store(false);
}

} // namespace platform
