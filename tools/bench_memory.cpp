// SPDX-License-Identifier: GPL-3.0-or-later
// Speed figures of the memory kernels: read and write rates over the 13 block
// sizes of the full test (median and spread of several runs), each beside a
// probe written here on its own that runs the same string instructions over
// a buffer of its own, filled before it is timed, and beside a read of a
// buffer that was never written (the kernel's shared zero page).
//   bench_memory [runs] [pause-ms]
// The pause (default 20 ms) between measurements keeps the time-critical
// brackets inside the kernel's real-time budget.

#include "Summary.h"
#include "bench/Kernels.h"
#include "bench/MemoryKernels.h"
#include "bench/MemoryPage.h"
#include "bench/TestBuffer.h"
#include "database/ComparisonDatabase.h"
#include "platform/Clock.h"
#include "platform/Priority.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kBufferBytes = 4'194'304;
constexpr double kMiB = 1'048'576.0;
unsigned pauseMilliseconds = 20;

// The probe's passes: a C++ loop around one string instruction block, timed
// with the standard library's steady clock.
void probeRead(const std::uint32_t* buffer, std::uint32_t words, std::uint32_t passes)
{
    for (std::uint32_t pass = 0; pass < passes; ++pass) {
#if defined(QUORVIX_X86_KERNELS) && defined(__x86_64__)
        const std::uint32_t* source = buffer;
        std::uint64_t count = words;
        asm volatile("rep lodsl" : "+S"(source), "+c"(count) : : "eax", "memory");
#else
        const volatile std::uint32_t* word = buffer;
        for (std::uint32_t i = 0; i < words; ++i)
            (void)word[i];
#endif
    }
}

void probeWrite(std::uint32_t* buffer, std::uint32_t words, std::uint32_t passes,
                std::uint32_t value)
{
    for (std::uint32_t pass = 0; pass < passes; ++pass) {
#if defined(QUORVIX_X86_KERNELS) && defined(__x86_64__)
        std::uint32_t* target = buffer;
        std::uint64_t count = words;
        asm volatile("1:\n\tstosl\n\tincl %%eax\n\taddr32 loop 1b"
                     : "+D"(target), "+c"(count), "+a"(value)
                     :
                     : "memory");
#else
        volatile std::uint32_t* word = buffer;
        for (std::uint32_t i = 0; i < words; ++i)
            word[i] = value++;
#endif
    }
}

template <typename Passes> double probeRate(Passes&& passes)
{
    const platform::TimeCriticalBracket bracket;
    const auto start = std::chrono::steady_clock::now();
    passes();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return bench::kMemoryTransferBytes / elapsed.count();
}

struct Series
{
    std::vector<double> kernelRead, probeRead, kernelWrite, probeWrite;
};

void pause()
{
    platform::SleepMilliseconds(pauseMilliseconds);
}

// One run of every measurement of one block size, interleaved so that a
// drift of the machine's speed hits kernel and probe alike.
void measure(std::uint32_t blockSize, std::uint32_t* probeBuffer, Series& series)
{
    const std::uint32_t words = blockSize / 4;
    const std::uint32_t passes = bench::MemoryPassCount(blockSize);
    pause();
    series.kernelRead.push_back(static_cast<double>(bench::MemoryReadTest(blockSize)));
    pause();
    series.probeRead.push_back(probeRate([&] { probeRead(probeBuffer, words, passes); }));
    pause();
    series.kernelWrite.push_back(static_cast<double>(bench::MemoryWriteTest(blockSize)));
    pause();
    series.probeWrite.push_back(probeRate([&] { probeWrite(probeBuffer, words, passes, 12345u); }));
}

// REP LODSD over a fresh buffer that nobody wrote: every read maps the one
// zero page. A calloc above the C library's largest mmap threshold (32 MiB)
// always takes fresh pages from the system and leaves them untouched.
double untouchedRead()
{
    constexpr std::size_t kFreshBytes = 64u << 20;
    auto* buffer = static_cast<std::uint32_t*>(std::calloc(kFreshBytes, 1));
    if (buffer == nullptr)
        return 0;
    pause();
    const double rate = probeRate(
        [&] { probeRead(buffer, kBufferBytes / 4, bench::MemoryPassCount(kBufferBytes)); });
    std::free(buffer);
    return rate;
}

void printLine(const char* label, const Series& s)
{
    const Summary kr = summarise(s.kernelRead), pr = summarise(s.probeRead);
    const Summary kw = summarise(s.kernelWrite), pw = summarise(s.probeWrite);
    std::printf("%-9s %9.0f %5.1f %9.0f %5.1f %+6.1f | %9.0f %5.1f %9.0f %5.1f %+6.1f\n", label,
                kr.median / kMiB, kr.cv, pr.median / kMiB, pr.cv,
                100.0 * (kr.median / pr.median - 1), kw.median / kMiB, kw.cv, pw.median / kMiB,
                pw.cv, 100.0 * (kw.median / pw.median - 1));
}

// The memory page itself on the real kernels, with no reference rows: the
// comparative test `runs` times, each in a buffer of its own as on the page,
// then one full test as the chart shows it.
void printPage(int runs)
{
    std::vector<double> values;
    for (int run = 0; run < runs; ++run) {
        pause();
        values.push_back(bench::MeasureComparativeMemory());
    }
    const Summary comparative = summarise(values);
    std::printf("\nthe page, comparative: \"Your memory\" median %.0f (CV %.1f %%, %.0f to %.0f)\n",
                comparative.median, comparative.cv, *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
    pause();
    bench::MemorySweep sweep;
    bench::MeasureFullMemory(sweep);
    const TMyChartBars bars = bench::FullMemoryBars(sweep);
    std::printf("the page, full test:");
    for (int i = 0; i < bars.Count; ++i) {
        std::printf("%s\"%s\" %d", i % 2 ? ", " : "\n  ",
                    bars.Items[i].Caption.toUtf8().constData(), bars.Items[i].Value);
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (argc > 2)
        pauseMilliseconds = static_cast<unsigned>(std::max(0, std::atoi(argv[2])));
    std::printf("bench_memory: %d runs, %u ms pause, load average before %s%s\n", runs,
                pauseMilliseconds, loadAverage().c_str(),
                bench::kKernelsComparable ? "" : " (C++ passes: not comparable)");

    auto* probeBuffer = static_cast<std::uint32_t*>(std::aligned_alloc(4096, kBufferBytes));
    if (probeBuffer == nullptr)
        return 1;
    std::fill(probeBuffer, probeBuffer + kBufferBytes / 4, 0x5A5A5A5Au);

    std::vector<Series> sweep(bench::kFullTestBlocks);
    std::vector<double> untouched, comparative;
    {
        const bench::ScopedTestBuffer buffer(kBufferBytes);
        for (int run = 0; run < runs; ++run) {
            for (int i = 0; i < bench::kFullTestBlocks; ++i)
                measure(1024u << i, probeBuffer, sweep[i]);
            untouched.push_back(untouchedRead());
            const Series& last = sweep.back();
            comparative.push_back(
                bench::ComparativeMemoryValue(static_cast<std::int64_t>(last.kernelRead.back()),
                                              static_cast<std::int64_t>(last.kernelWrite.back())));
        }
    }
    std::free(probeBuffer);

    std::printf("\nMiB/s, median of %d; CV in %%; kernel against probe in %%\n", runs);
    std::printf("%-9s %9s %5s %9s %5s %6s | %9s %5s %9s %5s %6s\n", "block", "read", "CV", "probe",
                "CV", "diff", "write", "CV", "probe", "CV", "diff");
    for (int i = 0; i < bench::kFullTestBlocks; ++i) {
        const std::string label = std::to_string(1u << i) + " KB";
        printLine(label.c_str(), sweep[i]);
    }
    const Summary zero = summarise(untouched);
    const Summary mean = summarise(comparative);
    std::printf("\nuntouched buffer, read at 4096 KB: %.0f MiB/s (CV %.1f %%)\n",
                zero.median / kMiB, zero.cv);
    std::printf("(read + write) / 2 at 4096 KB in the sweep: %.0f MiB/s (CV %.1f %%)\n",
                mean.median, mean.cv);
    std::printf("goal: kernels within +-10 %% of the probe\n");
    printPage(runs);
    std::printf("load average after %s\n", loadAverage().c_str());
    return 0;
}
