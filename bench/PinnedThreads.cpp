// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/PinnedThreads.h"

#include "bench/BenchError.h"
#include "platform/Clock.h"
#include "platform/Threads.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <string>

namespace bench {
namespace {

// What the threads share: they wait for `go`, and do no work when `abandoned`.
struct Start
{
    std::atomic<std::size_t> ready{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> go{false};
    std::atomic<bool> abandoned{false};
};

// A joinable std::thread destroyed ends the program: every thread started is
// released and joined on every way out, a refused start included.
class ThreadGroup
{
public:
    ThreadGroup(Start& start, std::size_t count) : m_start(start) { m_threads.reserve(count); }
    ~ThreadGroup()
    {
        if (!m_start.go.load())
            m_start.abandoned.store(true);
        m_start.go.store(true, std::memory_order_release);
        joinAll();
    }
    ThreadGroup(const ThreadGroup&) = delete;
    ThreadGroup& operator=(const ThreadGroup&) = delete;

    void add(std::thread thread) { m_threads.push_back(std::move(thread)); }
    void joinAll()
    {
        for (std::thread& thread : m_threads)
            if (thread.joinable())
                thread.join();
    }

private:
    Start& m_start;
    std::vector<std::thread> m_threads;
};

std::thread startThread(const ThreadStarter& start, std::function<void()> body)
{
    return start ? start(std::move(body)) : std::thread(std::move(body));
}

} // namespace

double RunPinnedTogether(const std::vector<int>& cpus, const std::function<void(std::size_t)>& work,
                         const std::function<void()>& release,
                         const std::function<void()>& meanwhile, const ThreadStarter& start)
{
    if (cpus.empty())
        return 0.0;
    Start shared;
    std::vector<double> finished(cpus.size(), 0.0);
    ThreadGroup threads(shared, cpus.size());
    for (std::size_t i = 0; i < cpus.size(); ++i) {
        const auto body = [&, i] {
            platform::PinCurrentThread(cpus[i]);
            shared.ready.fetch_add(1);
            while (!shared.go.load(std::memory_order_acquire))
                std::this_thread::yield();
            if (!shared.abandoned.load())
                work(i);
            finished[i] = platform::PreciseMilliseconds();
            shared.done.fetch_add(1);
        };
        try {
            threads.add(startThread(start, body));
        } catch (const std::exception& error) {
            throw BenchError("could not start thread " + std::to_string(i + 1) + " of " +
                             std::to_string(cpus.size()) + ": " + error.what());
        }
    }
    while (shared.ready.load() < cpus.size())
        std::this_thread::yield();
    if (release)
        release();
    const double begin = platform::PreciseMilliseconds();
    shared.go.store(true, std::memory_order_release);
    while (shared.done.load() < cpus.size()) {
        if (meanwhile)
            meanwhile();
        else
            platform::SleepMilliseconds(1);
    }
    threads.joinAll();
    return *std::max_element(finished.begin(), finished.end()) - begin;
}

} // namespace bench
