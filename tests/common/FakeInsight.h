// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/AllCore.h"
#include "report/Insight.h"

// The memory measurement with set figures over a buffer of `top`: reads of
// 6,000 MiB/s in the sweep and 60,000 streaming, latencies of 1.5 ns a
// working set further out, their levels out of order when `inOrder` is not.
inline bench::MemoryContextFigures
FakeMemoryContext(std::uint64_t top, const std::vector<std::uint64_t>& sets, bool inOrder = true)
{
    constexpr std::int64_t mib = 1024 * 1024;
    bench::MemoryContextFigures figures;
    for (const std::uint64_t size : bench::SweepSizes(top))
        figures.sweep.push_back({size, 6000 * mib, 5000 * mib});
    figures.streaming = {2, top, 60000 * mib, 30000 * mib, 40000 * mib};
    for (std::size_t i = 0; i < sets.size(); ++i)
        figures.latency.push_back({sets[i], 1.5 * double(i + 1)});
    figures.latencyMeasurements = inOrder ? 1 : 2;
    figures.latencyInOrder = inOrder;
    figures.bufferBytes = top;
    return figures;
}

// Context kernels with set figures, measuring nothing: two threads of
// 1,000 and 1,200 integer passes against 1,100 for one, 500 and 400
// floating-point ones against 450, a chain at 2,850 MHz beside a 3,000 MHz
// counter, one 32 KB data cache, reads of 6,000 MiB/s in the sweep and
// 60,000 streaming, latencies of 1.5 ns a working set further out.
inline report::InsightKernels FakeInsightKernels()
{
    const auto chain = [](double mhz) {
        return bench::ChainTiming{std::uint64_t(mhz * 50'000), 50.0, 3000 * 50'000, 50.0};
    };
    const auto windows = [chain](std::int64_t a, std::int64_t b, std::int64_t one, double mhz) {
        bench::AllCoreWindows w;
        w.threads = {{0, a, chain(mhz), 500.0, 500.0}, {1, b, chain(mhz), 500.0, 500.0}};
        w.alls.push_back({0, a + b, {}, 1000.0, 1000.0});
        w.ones.push_back({0, one, {}, 500.0, 500.0});
        return w;
    };
    report::InsightKernels k;
    k.runChain = [chain] { return chain(2850.0); };
    k.allCoreCpu = [windows] { return windows(1000, 1200, 1100, 2850.0); };
    k.allCoreFpu = [windows] { return windows(500, 400, 450, 2850.0); };
    k.caches = [] { return std::vector<platform::CacheLevel>{{1, "Data", 32 * 1024, 1, 2}}; };
    k.memoryContext = [](std::uint64_t top, const std::vector<std::uint64_t>& sets) {
        return FakeMemoryContext(top, sets);
    };
    return k;
}
