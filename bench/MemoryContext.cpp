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
#include <immintrin.h>
#include <limits>
#include <random>
#include <string>

namespace bench {
namespace {

constexpr std::size_t kLine = 64;
// Rounds of one read, one write and one copy trial each, interleaved, so
// that a burst of other work falls on all three alike; the fastest of each
// counts. On a busy machine few trials run undisturbed, so there are ten,
// as streaming tools take: about 0.2 s in all at 10 GB/s over 64 MiB.
constexpr int kStreamRounds = 10;
// The latency's windows at each level; the fastest counts.
constexpr int kLatencyWindows = 20;
constexpr double kLatencyWindowMs = 3.0;
// Loads between clock readings, and at most once round the chain before them.
constexpr std::uint64_t kLatencyChunk = 16384;
constexpr std::uint64_t kLatencyWarmLoads = 1 << 19;

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

// The fastest of a few trials, as streaming tools report.
struct BestRate
{
    std::int64_t best = 0;
    void add(std::int64_t rate) { best = std::max(best, rate); }
};

StreamingRates stream(std::byte* buffer, std::uint64_t bytes)
{
    const std::vector<int> cpus = platform::UsableCpus();
    const std::size_t slice = bytes / cpus.size() / 512 * 512;
    const std::size_t half = slice / 2;
    std::vector<std::uint64_t> sink(cpus.size());
    const std::uint64_t moved = std::uint64_t{slice} * cpus.size();
    const auto read = [&](std::size_t i) { sink[i] = StreamRead(buffer + i * slice, slice); };
    const auto write = [&](std::size_t i) {
        StreamFill(buffer + i * slice, slice, static_cast<unsigned char>(i + 1));
    };
    const auto copy = [&](std::size_t i) {
        StreamCopy(buffer + i * slice + half, buffer + i * slice, half);
    };
    BestRate reads, writes, copies;
    for (int round = 0; round < kStreamRounds; ++round) {
        reads.add(MemoryRate(moved, RunPinnedTogether(cpus, read)));
        writes.add(MemoryRate(moved, RunPinnedTogether(cpus, write)));
        copies.add(MemoryRate(moved, RunPinnedTogether(cpus, copy)));
    }
    return {static_cast<int>(cpus.size()), bytes, reads.best, writes.best, copies.best};
}

// Sattolo's shuffle of the line numbers, in the lines themselves: one cycle
// through every line, then each number turned into the line's address.
void* buildChain(std::byte* base, std::size_t lines)
{
    const auto slot = [base](std::size_t line) { return base + line * kLine; };
    for (std::size_t i = 0; i < lines; ++i)
        std::memcpy(slot(i), &i, sizeof i);
    std::mt19937_64 random(lines);
    for (std::size_t i = lines - 1; i > 0; --i) {
        const std::size_t j = std::uniform_int_distribution<std::size_t>(0, i - 1)(random);
        std::swap_ranges(slot(i), slot(i) + sizeof(std::size_t), slot(j));
    }
    for (std::size_t i = 0; i < lines; ++i) {
        std::size_t next = 0;
        std::memcpy(&next, slot(i), sizeof next);
        void* address = slot(next);
        std::memcpy(slot(i), &address, sizeof address);
    }
    return base;
}

void* chase(void* p, std::uint64_t loads)
{
    for (std::uint64_t i = 0; i < loads; ++i)
        p = *static_cast<void* const*>(p);
    asm volatile("" : "+r"(p));
    return p;
}

// Nanoseconds a load in one window of about kLatencyWindowMs.
double latencyWindow(void*& p)
{
    std::uint64_t loads = 0;
    const double start = platform::PreciseMilliseconds();
    double now = start;
    do {
        p = chase(p, kLatencyChunk);
        loads += kLatencyChunk;
        now = platform::PreciseMilliseconds();
    } while (now - start < kLatencyWindowMs);
    return (now - start) * 1e6 / static_cast<double>(loads);
}

std::vector<LatencyPoint> latencies(std::byte* buffer, const std::vector<std::uint64_t>& sets,
                                    std::uint64_t topBytes)
{
    std::vector<LatencyPoint> points;
    for (const std::uint64_t set : sets)
        points.push_back({set, DependentLoadNanoseconds(buffer, std::min(set, topBytes))});
    return points;
}

} // namespace

bool LatencyInOrder(const std::vector<LatencyPoint>& points)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        if (!(points[i].nanoseconds > points[i - 1].nanoseconds))
            return false;
    return true;
}

OrderedLatency MeasureLatencyInOrder(const std::function<std::vector<LatencyPoint>()>& measure,
                                     int attempts)
{
    OrderedLatency result;
    do {
        result.points = measure();
        ++result.measurements;
        result.inOrder = LatencyInOrder(result.points);
    } while (!result.inOrder && result.measurements < attempts);
    return result;
}

std::vector<std::uint64_t> SweepSizes(std::uint64_t topBytes)
{
    std::vector<std::uint64_t> sizes;
    for (std::uint64_t size = 1024; size < topBytes; size *= 2)
        sizes.push_back(size);
    if (topBytes >= 1024)
        sizes.push_back(topBytes);
    return sizes;
}

namespace {

// Eight 32-byte loads into four registers a round: written out, because
// GCC spills a 64-byte vector type to the stack where AVX-512 is missing,
// and the read then measures the stack, not the memory.
__attribute__((target("avx2"))) std::uint64_t readAvx2(const std::byte* from, std::size_t bytes)
{
    __m256i a = _mm256_setzero_si256(), b = a, c = a, d = a;
    for (std::size_t i = 0; i + 256 <= bytes; i += 256) {
        const auto* at = reinterpret_cast<const __m256i*>(from + i);
        a = _mm256_or_si256(a, _mm256_or_si256(_mm256_load_si256(at), _mm256_load_si256(at + 4)));
        b = _mm256_or_si256(b,
                            _mm256_or_si256(_mm256_load_si256(at + 1), _mm256_load_si256(at + 5)));
        c = _mm256_or_si256(c,
                            _mm256_or_si256(_mm256_load_si256(at + 2), _mm256_load_si256(at + 6)));
        d = _mm256_or_si256(d,
                            _mm256_or_si256(_mm256_load_si256(at + 3), _mm256_load_si256(at + 7)));
    }
    const __m256i all = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
    const __m128i half =
        _mm_or_si128(_mm256_castsi256_si128(all), _mm256_extracti128_si256(all, 1));
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(half) | _mm_extract_epi64(half, 1));
}

std::uint64_t readSse(const std::byte* from, std::size_t bytes)
{
    __m128i a = _mm_setzero_si128(), b = a, c = a, d = a;
    for (std::size_t i = 0; i + 64 <= bytes; i += 64) {
        const auto* at = reinterpret_cast<const __m128i*>(from + i);
        a = _mm_or_si128(a, _mm_load_si128(at));
        b = _mm_or_si128(b, _mm_load_si128(at + 1));
        c = _mm_or_si128(c, _mm_load_si128(at + 2));
        d = _mm_or_si128(d, _mm_load_si128(at + 3));
    }
    const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(all) |
                                      _mm_cvtsi128_si64(_mm_unpackhi_epi64(all, all)));
}

bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

} // namespace

std::uint64_t StreamRead(const void* data, std::size_t bytes)
{
    const auto* from = static_cast<const std::byte*>(data);
    return hasAvx2() ? readAvx2(from, bytes) : readSse(from, bytes);
}

namespace {

// Two 32-byte stores a line where AVX is there, four 16-byte ones otherwise.
__attribute__((target("avx"))) void fillAvx(std::byte* to, std::size_t bytes, char byte)
{
    const __m256i value = _mm256_set1_epi8(byte);
    for (std::size_t i = 0; i < bytes; i += 64) {
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to + i), value);
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to + i + 32), value);
    }
}

__attribute__((target("avx"))) void copyAvx(std::byte* to, const std::byte* from, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; i += 64) {
        const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(from + i));
        const __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i*>(from + i + 32));
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to + i), a);
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to + i + 32), b);
    }
}

void copySse(std::byte* to, const std::byte* from, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; i += 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + i),
                         _mm_load_si128(reinterpret_cast<const __m128i*>(from + i)));
}

bool hasAvx()
{
    static const bool avx = __builtin_cpu_supports("avx");
    return avx;
}

} // namespace

void StreamFill(void* data, std::size_t bytes, unsigned char value)
{
    auto* to = static_cast<std::byte*>(data);
    if (hasAvx()) {
        fillAvx(to, bytes, static_cast<char>(value));
    } else {
        const __m128i narrow = _mm_set1_epi8(static_cast<char>(value));
        for (std::size_t i = 0; i < bytes; i += 16)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + i), narrow);
    }
    _mm_sfence();
}

void StreamCopy(void* to, const void* from, std::size_t bytes)
{
    auto* out = static_cast<std::byte*>(to);
    const auto* in = static_cast<const std::byte*>(from);
    if (hasAvx())
        copyAvx(out, in, bytes);
    else
        copySse(out, in, bytes);
    _mm_sfence();
}

double DependentLoadNanoseconds(void* buffer, std::size_t workingSet)
{
    const std::size_t lines = std::max<std::size_t>(2, workingSet / kLine);
    void* p = buildChain(static_cast<std::byte*>(buffer), lines);
    std::vector<double> windows;
    {
        const platform::TimeCriticalBracket bracket(200.0);
        // Once round the chain: the levels below hold what fits.
        p = chase(p, std::min<std::uint64_t>(lines, kLatencyWarmLoads));
        for (int i = 0; i < kLatencyWindows; ++i)
            windows.push_back(latencyWindow(p));
    }
    return *std::min_element(windows.begin(), windows.end());
}

MemoryContextFigures MeasureMemoryContext(std::uint64_t topBytes,
                                          const std::vector<std::uint64_t>& workingSets)
{
    if (topBytes < 1024 || topBytes > std::numeric_limits<std::uint32_t>::max() / 2 + 1 ||
        topBytes % 4 != 0)
        throw BenchError("The memory sweep cannot reach " + std::to_string(topBytes) + " bytes");
    const CommittedBuffer buffer(topBytes);
    MemoryContextFigures figures;
    figures.bufferBytes = topBytes;
    auto* words = reinterpret_cast<std::uint32_t*>(buffer.data());
    for (const std::uint64_t size : SweepSizes(topBytes))
        figures.sweep.push_back(sweepOne(words, static_cast<std::uint32_t>(size)));
    figures.streaming = stream(buffer.data(), topBytes);
    const OrderedLatency latency =
        MeasureLatencyInOrder([&] { return latencies(buffer.data(), workingSets, topBytes); });
    figures.latency = latency.points;
    figures.latencyMeasurements = latency.measurements;
    figures.latencyInOrder = latency.inOrder;
    return figures;
}

} // namespace bench
