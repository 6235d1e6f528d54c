// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/MemoryContext.h"

#include "bench/BenchError.h"
#include "bench/MemoryKernels.h"
#include "bench/PinnedThreads.h"
#include "platform/Clock.h"
#include "platform/Pages.h"
#include "platform/Priority.h"
#include "platform/Threads.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>
#include <random>
#include <string>

namespace bench {
namespace {

constexpr std::size_t kLine = 64;
constexpr int kStreamTrials = 3;
constexpr double kLatencyMs = 20.0;

class CommittedBuffer
{
public:
    explicit CommittedBuffer(std::size_t size)
        : m_size(size), m_address(platform::AllocateCommittedPages(size))
    {
        if (m_address == nullptr)
            throw BenchError("Not enough memory for the memory sweep (" + std::to_string(size) +
                             " bytes)");
    }
    ~CommittedBuffer() { platform::FreePages(m_address, m_size); }
    CommittedBuffer(const CommittedBuffer&) = delete;
    CommittedBuffer& operator=(const CommittedBuffer&) = delete;
    std::byte* data() const { return static_cast<std::byte*>(m_address); }

private:
    std::size_t m_size;
    void* m_address;
};

SweepPoint sweepOne(std::uint32_t* buffer, std::uint32_t blockSize)
{
    // 20 MiB as the page moves, or one pass where the block is larger.
    const std::uint32_t passes = std::max<std::uint32_t>(1, MemoryPassCount(blockSize));
    const std::uint64_t bytes = std::uint64_t{passes} * blockSize;
    const auto timed = [&](auto&& run) {
        const platform::TimeCriticalBracket bracket(200.0);
        const double start = platform::PreciseMilliseconds();
        run();
        return MemoryRate(bytes, platform::PreciseMilliseconds() - start);
    };
    SweepPoint point{blockSize, 0, 0};
    point.readRate = timed([&] { MemoryReadPasses(buffer, blockSize, passes); });
    point.writeRate = timed([&] { MemoryWritePasses(buffer, blockSize, passes, 0); });
    return point;
}

// Best of a few trials, as streaming tools report; each trial moves every
// slice `repeats` times.
template <typename Work>
std::int64_t bestRate(const std::vector<int>& cpus, std::uint64_t bytesPerTrial, Work&& work)
{
    std::int64_t best = 0;
    for (int trial = 0; trial < kStreamTrials; ++trial)
        best = std::max(best, MemoryRate(bytesPerTrial, RunPinnedTogether(cpus, work)));
    return best;
}

StreamingRates stream(std::byte* buffer, std::uint64_t bytes)
{
    const std::vector<int> cpus = platform::UsableCpus();
    const std::size_t slice = bytes / cpus.size() / 512 * 512;
    const std::size_t half = slice / 2;
    std::vector<std::uint64_t> sink(cpus.size());
    StreamingRates rates;
    rates.threads = static_cast<int>(cpus.size());
    rates.bufferBytes = bytes;
    const std::uint64_t moved = std::uint64_t{slice} * cpus.size();
    rates.read = bestRate(cpus, moved,
                          [&](std::size_t i) { sink[i] = StreamRead(buffer + i * slice, slice); });
    rates.write = bestRate(cpus, moved, [&](std::size_t i) {
        std::memset(buffer + i * slice, static_cast<int>(i + 1), slice);
    });
    rates.copy = bestRate(cpus, moved, [&](std::size_t i) {
        std::memcpy(buffer + i * slice + half, buffer + i * slice, half);
    });
    return rates;
}

} // namespace

std::vector<std::uint64_t> SweepSizes(std::uint64_t topBytes)
{
    std::vector<std::uint64_t> sizes;
    for (std::uint64_t size = 1024; size <= topBytes; size *= 2)
        sizes.push_back(size);
    return sizes;
}

__attribute__((target_clones("avx512f", "avx2", "default"))) std::uint64_t
StreamRead(const void* data, std::size_t bytes)
{
    using Lanes = std::uint64_t __attribute__((vector_size(64)));
    const Lanes* lanes = static_cast<const Lanes*>(data);
    const std::size_t count = bytes / sizeof(Lanes);
    Lanes a{}, b{}, c{}, d{};
    for (std::size_t i = 0; i + 4 <= count; i += 4) {
        a |= lanes[i];
        b |= lanes[i + 1];
        c |= lanes[i + 2];
        d |= lanes[i + 3];
    }
    const Lanes all = a | b | c | d;
    std::uint64_t result = 0;
    for (int k = 0; k < 8; ++k)
        result |= all[k];
    return result;
}

double DependentLoadNanoseconds(void* buffer, std::size_t workingSet, double targetMs)
{
    const std::size_t lines = std::max<std::size_t>(1, workingSet / kLine);
    std::vector<std::size_t> order(lines);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin() + 1, order.end(), std::mt19937_64(lines));
    auto* base = static_cast<std::byte*>(buffer);
    for (std::size_t i = 0; i < lines; ++i) {
        void* next = base + order[(i + 1) % lines] * kLine;
        std::memcpy(base + order[i] * kLine, &next, sizeof next);
    }
    constexpr std::uint64_t kChunk = 65536;
    void* p = base;
    const auto chase = [&p](std::uint64_t loads) {
        for (std::uint64_t i = 0; i < loads; ++i)
            p = *static_cast<void* const*>(p);
        asm volatile("" : "+r"(p));
    };
    chase(lines); // once round the chain: the levels below hold what fits
    std::uint64_t loads = 0;
    const double start = platform::PreciseMilliseconds();
    double now = start;
    do {
        chase(kChunk);
        loads += kChunk;
        now = platform::PreciseMilliseconds();
    } while (now - start < targetMs);
    return (now - start) * 1e6 / static_cast<double>(loads);
}

MemoryContextFigures MeasureMemoryContext(std::uint64_t topBytes,
                                          const std::vector<std::uint64_t>& workingSets)
{
    if (topBytes < 1024 || topBytes > std::numeric_limits<std::uint32_t>::max() / 2 + 1)
        throw BenchError("The memory sweep cannot reach " + std::to_string(topBytes) + " bytes");
    const CommittedBuffer buffer(topBytes);
    MemoryContextFigures figures;
    auto* words = reinterpret_cast<std::uint32_t*>(buffer.data());
    for (const std::uint64_t size : SweepSizes(topBytes))
        figures.sweep.push_back(sweepOne(words, static_cast<std::uint32_t>(size)));
    figures.streaming = stream(buffer.data(), topBytes);
    for (const std::uint64_t set : workingSets)
        figures.latency.push_back(
            {set, DependentLoadNanoseconds(buffer.data(), std::min(set, topBytes), kLatencyMs)});
    return figures;
}

} // namespace bench
