// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace bench {

// Every kernel call moves this many bytes: 20 MiB.
inline constexpr std::uint32_t kMemoryTransferBytes = 20'971'520;

// The start value of a write call is drawn from 0 to this range - 1.
inline constexpr std::uint32_t kWriteStartRange = 2'400'000'000u;

// Passes of one block that make up the transfer.
constexpr std::uint32_t MemoryPassCount(std::uint32_t blockSize)
{
    return kMemoryTransferBytes / blockSize;
}

// `passes` passes, each one REP LODSD over blockSize / 4 words from `buffer`.
// Returns the last word loaded, so that the loads have a visible end.
std::uint32_t MemoryReadPasses(const std::uint32_t* buffer, std::uint32_t blockSize,
                               std::uint32_t passes);

// `passes` passes, each storing blockSize / 4 words from `buffer` one STOSD at
// a time, the value going up by 1 after every word and running on from pass
// to pass, from `start`. Returns the value after the last store.
std::uint32_t MemoryWritePasses(std::uint32_t* buffer, std::uint32_t blockSize,
                                std::uint32_t passes, std::uint32_t start);

// Bytes per second from the bytes moved and the interval in milliseconds,
// formed in extended precision and truncated; 0 when no time passed.
std::int64_t MemoryRate(std::uint64_t bytes, double elapsedMilliseconds);

// Times `passes()` between two readings of `clock` (milliseconds with a
// fraction) and returns the rate of the whole transfer for `blockSize`.
template <typename Clock, typename Passes>
std::int64_t TimeTransfer(Clock&& clock, std::uint32_t blockSize, Passes&& passes)
{
    const double start = clock();
    passes();
    const double elapsed = clock() - start;
    const std::uint64_t bytes = std::uint64_t{MemoryPassCount(blockSize)} * blockSize;
    return MemoryRate(bytes, elapsed);
}

// Read and write throughput in bytes per second over the first `blockSize`
// bytes of the test buffer, at time-critical priority. The block size is a
// multiple of 4 from 4 to 20 MiB that the test buffer holds; anything else
// throws BenchError.
std::int64_t MemoryReadTest(std::uint32_t blockSize);
std::int64_t MemoryWriteTest(std::uint32_t blockSize);

// MemoryWriteTest with a given start value instead of a pseudo-random one.
std::int64_t MemoryWriteTestFrom(std::uint32_t blockSize, std::uint32_t start);

} // namespace bench
