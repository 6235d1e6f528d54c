// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace bench {

// The memory kernels' instructions over one block size, beyond the sizes the
// page uses too; rates in bytes per second.
struct SweepPoint
{
    std::uint64_t blockBytes = 0;
    std::int64_t readRate = 0;
    std::int64_t writeRate = 0;

    bool operator==(const SweepPoint&) const = default;
};

// The machine's streaming limit as everyday tools measure it: the widest
// loads the processor offers, fill and copy with non-temporal stores (no
// line read before it is written, as STREAM with streaming stores), one
// pinned thread per usable CPU, each over its own slice of the buffer. Bytes
// per second; copy counts the bytes read and the bytes written.
struct StreamingRates
{
    int threads = 0;
    std::uint64_t bufferBytes = 0;
    std::int64_t read = 0;
    std::int64_t write = 0;
    std::int64_t copy = 0;

    bool operator==(const StreamingRates&) const = default;
};

// Time of one load that depends on the one before, over a working set.
struct LatencyPoint
{
    std::uint64_t workingSetBytes = 0;
    double nanoseconds = 0.0;

    bool operator==(const LatencyPoint&) const = default;
};

struct MemoryContextFigures
{
    std::vector<SweepPoint> sweep;
    StreamingRates streaming;
    std::vector<LatencyPoint> latency;
    int latencyMeasurements = 0;   // how often the latency was measured
    bool latencyInOrder = true;    // the last measurement's levels rise with the working set
    std::uint64_t bufferBytes = 0; // the one buffer all of them used
};

// Block sizes of the sweep: powers of two from 1 KB below `topBytes`, then
// `topBytes` itself.
std::vector<std::uint64_t> SweepSizes(std::uint64_t topBytes);

// How often the latency is measured at most: a result whose levels are out
// of order is measured once more before it is given up as unreliable.
inline constexpr int kLatencyMeasurements = 2;

// Whether each point's latency is above the one before (points in the order
// of their working sets, ascending).
bool LatencyInOrder(const std::vector<LatencyPoint>& points);

// Calls `measure` until its levels come out in order, at most `attempts`
// times, and keeps the last result.
struct OrderedLatency
{
    std::vector<LatencyPoint> points;
    int measurements = 0;
    bool inOrder = false;
};
OrderedLatency MeasureLatencyInOrder(const std::function<std::vector<LatencyPoint>()>& measure,
                                     int attempts = kLatencyMeasurements);

// One buffer of `topBytes`, committed before anything is timed and released
// on return: the sweep over SweepSizes, the streaming rates over the whole
// buffer, and the latency over each of `workingSets` (ascending; each at most
// `topBytes`). Throws BenchError when the memory is refused or `topBytes` is
// beyond the kernels' 32-bit block sizes.
MemoryContextFigures MeasureMemoryContext(std::uint64_t topBytes,
                                          const std::vector<std::uint64_t>& workingSets);

// Loads of a random cyclic chain of cache lines over the first `workingSet`
// bytes of `buffer` (at least two lines), at time-critical priority: once
// round the chain, then several short windows of which the fastest counts,
// as a window in which the thread was interrupted, or other work moved the
// chain out of the cache, says nothing about the memory. Returns
// nanoseconds per load.
double DependentLoadNanoseconds(void* buffer, std::size_t workingSet);

// Widest loads over `bytes` (a multiple of 256) from `data`; the result is
// the OR of everything read, so that the loads stay.
std::uint64_t StreamRead(const void* data, std::size_t bytes);

// Non-temporal stores of `value` over `bytes` (a multiple of 64) at `data`
// (32-byte aligned). Not the C library's memset: which stores it uses at a
// given size depends on the cache size the system reports.
void StreamFill(void* data, std::size_t bytes, unsigned char value);

// Non-temporal copy of `bytes` (a multiple of 64) between 32-byte aligned
// blocks that do not overlap; the same reason as above.
void StreamCopy(void* to, const void* from, std::size_t bytes);

} // namespace bench
