// SPDX-License-Identifier: GPL-3.0-or-later
// How steady the program's memory figure is across invocations, beside an
// independent probe of the same instructions run in the same minutes.
//   bench_memory_report QUORVIX [invocations] [repeat]
// Alternates `QUORVIX --report --repeat R --json` (the logged memory figure
// is the median of its R runs) with a child of this program that does the
// comparative test R times on its own: a fresh 4 MiB buffer written once,
// REP LODSD over it 5 times, the STOSD/INC/LOOP store 5 times, each timed
// at SCHED_FIFO, (read + write) / 2 in MiB/s; it prints the median too.
// Prints both medians per invocation and their spread (CV) over the
// invocations; the goal is a figure no noisier than 1.5x the probe.

#include "Summary.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr std::size_t kBlock = 4'194'304;
constexpr std::uint32_t kPasses = 5;
constexpr double kTransfer = double(kBlock) * kPasses;

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void readPasses(const std::uint32_t* buffer)
{
    for (std::uint32_t pass = 0; pass < kPasses; ++pass) {
#if defined(__x86_64__)
        const std::uint32_t* source = buffer;
        std::uint64_t count = kBlock / 4;
        asm volatile("rep lodsl" : "+S"(source), "+c"(count) : : "eax", "memory");
#else
        const volatile std::uint32_t* word = buffer;
        for (std::size_t i = 0; i < kBlock / 4; ++i)
            (void)word[i];
#endif
    }
}

void writePasses(std::uint32_t* buffer, std::uint32_t value)
{
    for (std::uint32_t pass = 0; pass < kPasses; ++pass) {
#if defined(__x86_64__)
        std::uint32_t* target = buffer;
        std::uint64_t count = kBlock / 4;
        asm volatile("1:\n\tstosl\n\tincl %%eax\n\taddr32 loop 1b"
                     : "+D"(target), "+c"(count), "+a"(value)
                     :
                     : "memory");
#else
        volatile std::uint32_t* word = buffer;
        for (std::size_t i = 0; i < kBlock / 4; ++i)
            word[i] = value++;
#endif
    }
}

// Bytes per second of `passes`, timed at SCHED_FIFO where permitted.
template <typename Passes> double timedRate(Passes&& passes)
{
    sched_param param{};
    param.sched_priority = 49;
    sched_setscheduler(0, SCHED_FIFO, &param);
    const double start = nowMs();
    passes();
    const double elapsed = nowMs() - start;
    param.sched_priority = 0;
    sched_setscheduler(0, SCHED_OTHER, &param);
    return kTransfer / elapsed * 1000.0;
}

// The probe: `repeat` comparative tests, each in a fresh buffer.
int probe(int repeat)
{
    std::vector<double> values;
    for (int run = 0; run < repeat; ++run) {
        void* address =
            mmap(nullptr, kBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (address == MAP_FAILED)
            return 1;
        std::memset(address, 0, kBlock);
        auto* buffer = static_cast<std::uint32_t*>(address);
        const double read = timedRate([&] { readPasses(buffer); });
        const double write = timedRate([&] { writePasses(buffer, std::uint32_t(run)); });
        munmap(address, kBlock);
        values.push_back((read + write) / 2 / 1'048'576.0);
        usleep(200'000);
    }
    std::printf("%.1f\n", summarise(values).median);
    return 0;
}

double runAndRead(const QString& program, const QStringList& arguments, bool json)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600'000) || process.exitCode() != 0)
        return 0;
    const QByteArray output = process.readAllStandardOutput();
    if (!json)
        return output.trimmed().toDouble();
    const QJsonObject root = QJsonDocument::fromJson(output).object();
    const QJsonObject results = root.value("results").toObject();
    return results.value("memory").toObject().value("median").toDouble();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--probe") == 0)
        return probe(std::atoi(argv[2]));
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_memory_report QUORVIX [invocations] [repeat]\n");
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    const int invocations = argc > 2 ? std::atoi(argv[2]) : 5;
    const QString repeat = QString::number(argc > 3 ? std::atoi(argv[3]) : 5);
    std::printf("load average before %s\n", loadAverage().c_str());
    std::vector<double> figures, probes;
    for (int i = 0; i < invocations; ++i) {
        const double figure = runAndRead(program, {"--report", "--repeat", repeat, "--json"}, true);
        const double own =
            runAndRead(QCoreApplication::applicationFilePath(), {"--probe", repeat}, false);
        if (figure <= 0 || own <= 0) {
            std::printf("invocation %d failed\n", i + 1);
            return 1;
        }
        figures.push_back(figure);
        probes.push_back(own);
        std::printf("invocation %d: figure %7.0f MiB/s   probe %7.0f MiB/s\n", i + 1, figure, own);
    }
    const Summary f = summarise(figures), p = summarise(probes);
    std::printf("figure: median %.0f, CV %.1f %%\nprobe:  median %.0f, CV %.1f %%\n", f.median,
                f.cv, p.median, p.cv);
    std::printf("CV figure / CV probe = %.2f (goal <= 1.5)\n", p.cv > 0 ? f.cv / p.cv : 0.0);
    std::printf("load average after %s\n", loadAverage().c_str());
    return 0;
}
