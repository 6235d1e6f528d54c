#include "ReportFixture.h"

#include "bench/ProcessorPage.h"
#include "bench/ReferenceRows.h"
#include "controls/Chart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

// Two own bars' worth of chart work as the pages do it: the reference rows,
// then the figure in bar 0.
void fakePage(Chart& chart, const ComparisonDatabase& database, const bench::ChartPageRows& rows,
              int value)
{
    bench::LoadReferenceRows(chart, database, rows);
    chart.bars().Items[0].Value = value;
}

platform::CpuidResult fakeCpuid(std::uint32_t leaf, bool hypervisor)
{
    platform::CpuidResult result;
    if (leaf == 1)
        result.ecx = hypervisor ? 1u << 31 : 0;
    if (leaf == 0x80000000)
        result.eax = 0x80000004;
    if (leaf == 0x80000002)
        std::memcpy(&result, "Fake CPU @ 1 GHz", 16);
    return result;
}

} // namespace

ReportFixture::ReportFixture(int drives)
{
    writeDatabase("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n"
                  "[Processor]\nRef=300,250\n[Memory]\nRef=1000\n[Video]\nRef=90\n"
                  "[Drive]\nRef=9000\n");
    writeEnvironmentFile("proc/loadavg", "0.10 0.20 0.30 1/100 1234\n");
    writeEnvironmentFile("sys/devices/system/cpu/cpu0/cpufreq/scaling_governor", "performance\n");
    const QStringList names{"Drive /", "Drive /home", "Drive /srv"};
    for (int i = 0; i < drives; ++i) {
        driveEntries << names[i];
        disk << QList<int>{81920 * (i + 1)};
    }
    m_diskCalls = QList<int>(drives, 0);

    setup.databasePath = directory.filePath("base.ini");
    report::ReportPages& pages = setup.pages;
    overview.processor = "Test CPU, 1000 MHz";
    overview.memory = "2048 Mb (used 31%)";
    overview.computerName = "testhost";
    overview.userName = "tester";
    overview.os = "Debian GNU/Linux 12 (bookworm)";
    overview.display = "Test display";
    overview.monitor = "Test monitor";
    overview.mouse = "Test mouse";
    pages.gatherOverview = [this] { return overview; };
    pages.listFixedDrives = [this] {
        return sysinfo::FixedDriveListing{driveEntries, "Drive / (100 Mb), ", {}};
    };
    pages.processorPage = [this](Chart& chart, const ComparisonDatabase& database,
                                 bench::BenchState& state) {
        const bench::ProcessorKernels kernels{
            [this] { return cpuCounts[m_cpuCalls++ % cpuCounts.size()]; },
            [this] { return fpuCounts[m_fpuCalls++ % fpuCounts.size()]; }};
        bench::RefreshProcessorPage(chart, database, state, kernels);
    };
    pages.memoryPage = [this](Chart& chart, const ComparisonDatabase& database) {
        fakePage(chart, database, bench::MemoryPageRows(), memory[m_memoryCalls++ % memory.size()]);
    };
    pages.videoPage = [this](Chart& chart, const ComparisonDatabase& database) {
        fakePage(chart, database, bench::VideoPageRows(), video[m_videoCalls++ % video.size()]);
        return report::kVideoMethodX11;
    };
    pages.diskPage = [this](Chart& chart, const ComparisonDatabase& database, const QString& entry,
                            const QByteArray&) {
        const int drive = int(driveEntries.indexOf(entry));
        if (fullDrives.contains(entry)) {
            fakePage(chart, database, bench::DrivePageRows(), 0);
            return QStringLiteral("10 MiB or less free");
        }
        const QList<int>& values = disk[drive];
        fakePage(chart, database, bench::DrivePageRows(),
                 values[m_diskCalls[drive]++ % values.size()]);
        return QString();
    };
    setup.environment.root = directory.filePath("root").toStdString();
    setup.environment.cpuid = [this](std::uint32_t leaf) { return fakeCpuid(leaf, hypervisor); };
    setup.environment.tickPublished = [this] { return tickPublished; };
    setup.environment.lastPriority = [this] { return priority; };
}

int ReportFixture::run(const report::ReportOptions& options)
{
    outBuffer.close();
    errBuffer.close();
    outBuffer.setData({});
    errBuffer.setData({});
    outBuffer.open(QIODevice::WriteOnly);
    errBuffer.open(QIODevice::WriteOnly);
    setup.out = &outBuffer;
    setup.err = &errBuffer;
    setup.errIsTerminal = terminal;
    setup.pages.videoSkipped = videoSkipped;
    if (!videoSkipped.isEmpty())
        setup.pages.videoPage = {};
    return report::RunReport(options, setup);
}

QStringList ReportFixture::outLines() const
{
    QStringList lines = out().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the last line's end
    return lines;
}

void ReportFixture::writeDatabase(const QByteArray& text)
{
    QFile file(directory.filePath("base.ini"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

void ReportFixture::writeEnvironmentFile(const QString& path, const QByteArray& text)
{
    const QString full = directory.filePath("root/" + path);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}
