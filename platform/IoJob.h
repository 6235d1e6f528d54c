// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class ScratchFile;

// One timed job on a scratch file: blocks of one size, read or written in
// order or at random block-aligned places within [0, regionBytes), `depth`
// of them in flight, for a fixed window.
struct IoJob
{
    bool write = false;
    bool random = false;
    std::size_t blockBytes = 4096;
    int depth = 1;
    std::uint64_t regionBytes = 0;
    double seconds = 1.5;
    // fdatasync after every write, inside its latency: the wait of a
    // synchronous write.
    bool syncEach = false;
    std::uint64_t seed = 1;
};

// How the blocks are submitted: one at a time (depth 1), through io_uring,
// or by `depth` threads each waiting for its own.
enum class IoSubmission
{
    Synchronous,
    Uring,
    Threads,
};

struct IoRun
{
    std::uint64_t operations = 0;
    std::uint64_t bytes = 0;
    double seconds = 0.0;                   // from the first submission to the last completion
    std::vector<std::uint32_t> latenciesNs; // one a block, saturated at 4.29 s
    std::vector<std::uint64_t> slices;      // blocks completed in each fifth of the window
};

// Why io_uring cannot be used in this process (its setup refused by a
// seccomp filter, as containers often have, or kernel.io_uring_disabled);
// empty when a ring can be set up.
std::string UringRefusal();

// Runs `job` on `file` (opened for reading and writing) and times every
// block. Data written is a fixed pseudo-random pattern, not zeros, so that
// nothing along the way can compress it away. A failed or short transfer
// throws FileError, as does a refused ring. The file must already hold
// `regionBytes` for reads.
IoRun RunIoJob(ScratchFile& file, const IoJob& job, IoSubmission submission);

} // namespace platform
