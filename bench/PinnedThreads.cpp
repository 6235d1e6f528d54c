// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/PinnedThreads.h"

#include "platform/Clock.h"
#include "platform/Threads.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace bench {

double RunPinnedTogether(const std::vector<int>& cpus, const std::function<void(std::size_t)>& work,
                         const std::function<void()>& release,
                         const std::function<void()>& meanwhile)
{
    if (cpus.empty())
        return 0.0;
    std::atomic<std::size_t> ready{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> go{false};
    std::vector<double> finished(cpus.size(), 0.0);
    std::vector<std::thread> threads;
    threads.reserve(cpus.size());
    for (std::size_t i = 0; i < cpus.size(); ++i) {
        threads.emplace_back([&, i] {
            platform::PinCurrentThread(cpus[i]);
            ready.fetch_add(1);
            while (!go.load(std::memory_order_acquire))
                std::this_thread::yield();
            work(i);
            finished[i] = platform::PreciseMilliseconds();
            done.fetch_add(1);
        });
    }
    while (ready.load() < cpus.size())
        std::this_thread::yield();
    if (release)
        release();
    const double start = platform::PreciseMilliseconds();
    go.store(true, std::memory_order_release);
    while (done.load() < cpus.size()) {
        if (meanwhile)
            meanwhile();
        else
            platform::SleepMilliseconds(1);
    }
    for (std::thread& thread : threads)
        thread.join();
    return *std::max_element(finished.begin(), finished.end()) - start;
}

} // namespace bench
