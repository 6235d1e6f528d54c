// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Clock.h"

#include <atomic>
#include <cstdint>

namespace platform {

namespace detail {
// Written by the timer signal, read by PublishedTickCount.
inline std::atomic<std::uint32_t> publishedTick{0};
} // namespace detail

// TickCount() for hot loops. A clock call costs about 6 ns, a tenth of an
// integer benchmark pass; here a 1 ms timer signal aimed at the calling
// thread stores TickCount() in memory, so a read is a single load. The
// signal is unblocked in the thread while the object lives, whatever mask
// the thread inherited. Where the timer cannot be set up, reads call
// TickCount() directly; they do so too once the published value lags the
// clock by more than 50 ms (the signal is not arriving), so no wait on it
// can last for ever. One at a time per process; made and destroyed on the
// measuring thread; the timer runs only while the object lives, and the
// signal's disposition and the thread's mask are restored afterwards.
class PublishedTickCount
{
public:
    PublishedTickCount();
    ~PublishedTickCount();
    PublishedTickCount(const PublishedTickCount&) = delete;
    PublishedTickCount& operator=(const PublishedTickCount&) = delete;

    // True when reads come from the timer signal.
    bool published() const { return m_published; }

    // Inline: a call would cost as much as the load it wraps. Every
    // kReadsBetweenChecks reads, the value is held against the clock.
    std::uint32_t operator()() const
    {
        if (!m_published)
            return TickCount();
        const std::uint32_t value = detail::publishedTick.load(std::memory_order_relaxed);
        if (++m_readsSinceCheck < kReadsBetweenChecks)
            return value;
        return checkedAgainstClock(value);
    }

    static constexpr std::uint32_t kReadsBetweenChecks = 1024;
    static constexpr std::uint32_t kLongestLagMs = 50;

private:
    std::uint32_t checkedAgainstClock(std::uint32_t value) const;

    mutable bool m_published = false;
    mutable std::uint32_t m_readsSinceCheck = 0;
    bool m_timerRunning = false;
    void* m_timer = nullptr;
};

} // namespace platform
