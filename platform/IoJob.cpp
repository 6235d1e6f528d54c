// SPDX-License-Identifier: GPL-3.0-or-later
#include "IoJob.h"

#include "AtomicFile.h"
#include "ScratchFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <thread>

#include <liburing.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::size_t kAlignment = 4096;
constexpr int kSlices = 5;

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::uint64_t nextRandom(std::uint64_t& state)
{
    // xorshift64*: cheap and uniform enough to spread blocks over a file.
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1DULL;
}

struct FreeDeleter
{
    void operator()(void* block) const { std::free(block); }
};
using AlignedBlock = std::unique_ptr<char, FreeDeleter>;

// A block aligned for direct I/O, filled with a pattern that does not
// compress.
AlignedBlock alignedBlock(std::size_t bytes, std::uint64_t seed)
{
    void* memory = nullptr;
    if (posix_memalign(&memory, kAlignment, bytes) != 0)
        throw std::bad_alloc();
    AlignedBlock block(static_cast<char*>(memory));
    std::uint64_t state = seed | 1;
    for (std::size_t i = 0; i + sizeof state <= bytes; i += sizeof state) {
        const std::uint64_t value = nextRandom(state);
        std::memcpy(block.get() + i, &value, sizeof value);
    }
    return block;
}

// Where the next block goes: in order, wrapping at the region's end, or at
// random.
class Offsets
{
public:
    Offsets(const IoJob& job, std::uint64_t start)
        : m_block(job.blockBytes), m_blocks(std::max<std::uint64_t>(1, job.regionBytes / m_block)),
          m_random(job.random), m_next(start % m_blocks),
          m_state(job.seed * 0x9E3779B97F4A7C15ULL | 1)
    {
    }
    std::uint64_t next()
    {
        const std::uint64_t index = m_random ? nextRandom(m_state) % m_blocks : m_next++ % m_blocks;
        return index * m_block;
    }

private:
    std::uint64_t m_block;
    std::uint64_t m_blocks;
    bool m_random;
    std::uint64_t m_next;
    std::uint64_t m_state;
};

// The blocks' latencies and how many finished in each fifth of the window.
class Recorder
{
public:
    Recorder(std::int64_t start, double seconds)
        : m_start(start),
          m_slice(std::max<std::int64_t>(1, static_cast<std::int64_t>(seconds * 1e9) / kSlices))
    {
        m_run.slices.assign(kSlices, 0);
        m_run.latenciesNs.reserve(1 << 16);
    }
    void record(std::int64_t submitted, std::int64_t completed, std::size_t bytes)
    {
        const auto ns =
            static_cast<std::uint64_t>(std::max<std::int64_t>(0, completed - submitted));
        m_run.latenciesNs.push_back(static_cast<std::uint32_t>(
            std::min<std::uint64_t>(ns, std::numeric_limits<std::uint32_t>::max())));
        const std::int64_t slice =
            std::min<std::int64_t>(kSlices - 1, (completed - m_start) / m_slice);
        ++m_run.slices[static_cast<std::size_t>(std::max<std::int64_t>(0, slice))];
        ++m_run.operations;
        m_run.bytes += bytes;
        m_last = std::max(m_last, completed);
    }
    IoRun finish()
    {
        m_run.seconds = static_cast<double>(std::max<std::int64_t>(0, m_last - m_start)) / 1e9;
        return std::move(m_run);
    }
    void merge(Recorder& other)
    {
        IoRun& from = other.m_run;
        m_run.latenciesNs.insert(m_run.latenciesNs.end(), from.latenciesNs.begin(),
                                 from.latenciesNs.end());
        for (std::size_t i = 0; i < m_run.slices.size(); ++i)
            m_run.slices[i] += from.slices[i];
        m_run.operations += from.operations;
        m_run.bytes += from.bytes;
        m_last = std::max(m_last, other.m_last);
    }

private:
    std::int64_t m_start;
    std::int64_t m_slice;
    std::int64_t m_last = 0;
    IoRun m_run;
};

// The rest of a block from `done` bytes on: 0, or the errno. A transfer may
// legally stop short (a busy device, a signal); one that moves nothing is
// ENOSPC for a write and ENODATA for a read (the file holds less than it
// should).
int finish(int fd, const IoJob& job, char* block, std::uint64_t offset, std::size_t done)
{
    while (done < job.blockBytes) {
        const auto at = static_cast<off_t>(offset + done);
        const ssize_t moved = job.write ? pwrite(fd, block + done, job.blockBytes - done, at)
                                        : pread(fd, block + done, job.blockBytes - done, at);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return errno;
        if (moved == 0)
            return job.write ? ENOSPC : ENODATA;
        done += static_cast<std::size_t>(moved);
    }
    return 0;
}

// One block at `offset`, with its fdatasync where the job asks: 0, or the
// errno.
int transfer(int fd, const IoJob& job, char* block, std::uint64_t offset)
{
    if (const int error = finish(fd, job, block, offset, 0); error != 0)
        return error;
    if (job.write && job.syncEach && fdatasync(fd) != 0)
        return errno;
    return 0;
}

[[noreturn]] void fail(const ScratchFile& file, const IoJob& job, int error)
{
    throw FileError(job.write ? FileError::Step::Write : FileError::Step::Read, file.path(), error);
}

// One thread's blocks one at a time until the deadline; 0 or the errno.
int blockingLoop(int fd, const IoJob& job, std::uint64_t stream, std::int64_t deadline,
                 const std::atomic<bool>& stop, Recorder& recorder)
{
    const FileSizeSignalHeld held;
    const AlignedBlock block = alignedBlock(job.blockBytes, job.seed + stream);
    IoJob own = job;
    own.seed = job.seed + stream * 7919;
    Offsets offsets(own, stream * (job.regionBytes / job.blockBytes) / std::max(1, job.depth));
    for (std::int64_t submitted = nowNs();
         submitted < deadline && !stop.load(std::memory_order_relaxed); submitted = nowNs()) {
        if (const int error = transfer(fd, job, block.get(), offsets.next()); error != 0)
            return error;
        recorder.record(submitted, nowNs(), job.blockBytes);
    }
    return 0;
}

IoRun synchronousRun(ScratchFile& file, const IoJob& job)
{
    const std::int64_t start = nowNs();
    Recorder recorder(start, job.seconds);
    const std::atomic<bool> stop{false};
    const auto deadline = start + static_cast<std::int64_t>(job.seconds * 1e9);
    if (const int error = blockingLoop(file.descriptor(), job, 0, deadline, stop, recorder);
        error != 0)
        fail(file, job, error);
    return recorder.finish();
}

IoRun threadsRun(ScratchFile& file, const IoJob& job)
{
    const int threads = std::max(1, job.depth);
    const std::int64_t start = nowNs();
    const auto deadline = start + static_cast<std::int64_t>(job.seconds * 1e9);
    std::vector<Recorder> recorders(static_cast<std::size_t>(threads),
                                    Recorder(start, job.seconds));
    std::vector<int> errors(static_cast<std::size_t>(threads), 0);
    std::atomic<bool> stop{false};
    {
        std::vector<std::jthread> pool;
        for (int i = 0; i < threads; ++i)
            pool.emplace_back([&, i] {
                const auto index = static_cast<std::size_t>(i);
                errors[index] = blockingLoop(file.descriptor(), job, static_cast<std::uint64_t>(i),
                                             deadline, stop, recorders[index]);
                if (errors[index] != 0)
                    stop = true;
            });
    }
    for (const int error : errors)
        if (error != 0)
            fail(file, job, error);
    for (std::size_t i = 1; i < recorders.size(); ++i)
        recorders.front().merge(recorders[i]);
    return recorders.front().finish();
}

class Ring
{
public:
    // Completions run only when we ask for them, on the one thread that
    // submits, as fio sets its rings up: no interruption of the submitting
    // thread per completion. A kernel without those flags gets a plain ring.
    explicit Ring(unsigned entries)
        : m_error(-io_uring_queue_init(entries, &m_ring,
                                       IORING_SETUP_COOP_TASKRUN | IORING_SETUP_SINGLE_ISSUER |
                                           IORING_SETUP_DEFER_TASKRUN))
    {
        if (m_error == EINVAL)
            m_error = -io_uring_queue_init(entries, &m_ring, 0);
    }
    ~Ring()
    {
        if (m_error == 0)
            io_uring_queue_exit(&m_ring);
    }
    Ring(const Ring&) = delete;
    Ring& operator=(const Ring&) = delete;
    int error() const { return m_error; }
    io_uring* get() { return &m_ring; }

private:
    io_uring m_ring{};
    int m_error;
};

struct Slot
{
    AlignedBlock block;
    std::uint64_t offset = 0;
    std::int64_t submitted = 0;
};

void prepare(io_uring* ring, int fd, const IoJob& job, Slot& slot, std::uint64_t offset,
             std::uint64_t index)
{
    io_uring_sqe* entry = io_uring_get_sqe(ring);
    const auto length = static_cast<unsigned>(job.blockBytes);
    if (job.write)
        io_uring_prep_write(entry, fd, slot.block.get(), length, offset);
    else
        io_uring_prep_read(entry, fd, slot.block.get(), length, offset);
    io_uring_sqe_set_data64(entry, index);
    slot.offset = offset;
    slot.submitted = nowNs();
}

// Takes every completion that is ready and puts a new block in each free
// slot while the window lasts; 0 or the errno. `inFlight` follows.
int reap(io_uring* ring, int fd, const IoJob& job, std::vector<Slot>& slots, Offsets& offsets,
         std::int64_t deadline, Recorder& recorder, int& inFlight)
{
    // Waits only when nothing has completed: a thread put to sleep for each
    // batch wakes late, and on a virtual machine that cost a fifth of the
    // blocks a second against fio, which waits as rarely.
    if (const int submitted = io_uring_submit_and_get_events(ring);
        submitted < 0 && submitted != -EINTR)
        return -submitted;
    io_uring_cqe* completion = nullptr;
    if (io_uring_peek_cqe(ring, &completion) != 0) {
        const int waited = io_uring_wait_cqe(ring, &completion);
        if (waited == -EINTR)
            return 0;
        if (waited < 0)
            return -waited;
    }
    do {
        std::int64_t now = nowNs();
        const std::uint64_t index = io_uring_cqe_get_data64(completion);
        const int result = completion->res;
        io_uring_cqe_seen(ring, completion);
        --inFlight;
        if (result < 0)
            return -result;
        if (static_cast<std::size_t>(result) != job.blockBytes) {
            // The rest of a short block synchronously, inside its latency.
            const std::uint64_t offset = slots[index].offset;
            const auto done = static_cast<std::size_t>(result);
            if (const int error = finish(fd, job, slots[index].block.get(), offset, done);
                error != 0)
                return error;
            now = nowNs();
        }
        recorder.record(slots[index].submitted, now, job.blockBytes);
        if (now < deadline) {
            // Each block goes out as soon as its slot is free, and the same
            // call brings in the completions that arrived meanwhile.
            prepare(ring, fd, job, slots[index], offsets.next(), index);
            ++inFlight;
            if (const int submitted = io_uring_submit_and_get_events(ring);
                submitted < 0 && submitted != -EINTR)
                return -submitted;
        }
    } while (io_uring_peek_cqe(ring, &completion) == 0);
    return 0;
}

IoRun uringRun(ScratchFile& file, const IoJob& job)
{
    const auto depth = static_cast<unsigned>(std::max(1, job.depth));
    Ring ring(depth);
    if (ring.error() != 0)
        fail(file, job, ring.error());
    const FileSizeSignalHeld held;
    std::vector<Slot> slots(depth);
    for (unsigned i = 0; i < depth; ++i)
        slots[i].block = alignedBlock(job.blockBytes, job.seed + i);
    Offsets offsets(job, 0);
    const std::int64_t start = nowNs();
    const auto deadline = start + static_cast<std::int64_t>(job.seconds * 1e9);
    Recorder recorder(start, job.seconds);
    int inFlight = 0;
    for (unsigned i = 0; i < depth; ++i, ++inFlight)
        prepare(ring.get(), file.descriptor(), job, slots[i], offsets.next(), i);
    int error = 0;
    while (inFlight > 0 && error == 0)
        error =
            reap(ring.get(), file.descriptor(), job, slots, offsets, deadline, recorder, inFlight);
    if (error != 0) {
        // The kernel may still write into the slots: wait for what is out.
        // Blocks a failed submission left in the ring never reach it, and
        // waiting for them would never end.
        inFlight -= static_cast<int>(io_uring_sq_ready(ring.get()));
        while (inFlight > 0) {
            io_uring_cqe* completion = nullptr;
            const int waited = io_uring_wait_cqe(ring.get(), &completion);
            if (waited == -EINTR)
                continue;
            if (waited == 0)
                io_uring_cqe_seen(ring.get(), completion);
            --inFlight;
        }
        fail(file, job, error);
    }
    return recorder.finish();
}

std::string disabledSetting()
{
    std::ifstream setting("/proc/sys/kernel/io_uring_disabled");
    int value = 0;
    if (!(setting >> value) || value == 0)
        return {};
    return " (kernel.io_uring_disabled = " + std::to_string(value) + ")";
}

} // namespace

std::string UringRefusal()
{
    const Ring ring(1);
    if (ring.error() == 0)
        return {};
    return "io_uring cannot be set up: " + std::string(std::strerror(ring.error())) +
           disabledSetting() + ", as where a seccomp filter or the system's setting forbids it";
}

IoRun RunIoJob(ScratchFile& file, const IoJob& job, IoSubmission submission)
{
    switch (submission) {
    case IoSubmission::Uring:
        return uringRun(file, job);
    case IoSubmission::Threads:
        return threadsRun(file, job);
    case IoSubmission::Synchronous:
        break;
    }
    return synchronousRun(file, job);
}

} // namespace platform
