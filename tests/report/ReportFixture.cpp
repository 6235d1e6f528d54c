// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

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
    overview.processor = "Test CPU, 1000 MHz";
    overview.memory = "2048 Mb (used 31%)";
    overview.computerName = "testhost";
    overview.userName = "tester";
    overview.os = "Debian GNU/Linux 12 (bookworm)";
    overview.display = "Test display";
    overview.monitor = "Test monitor";
    overview.mouse = "Test mouse";
    setup.probes.gatherOverview = [this] { return overview; };
    setup.probes.listFixedDrives = [this] {
        QList<QByteArray> paths;
        for (const QString& entry : driveEntries)
            paths << entry.mid(int(std::strlen("Drive "))).toUtf8();
        sysinfo::FixedDriveListing listing{driveEntries, "Drive / (100 Mb), ", paths};
        listing.rootFilesystem = rootFilesystem;
        return listing;
    };
    figures.cpuPasses = [this] { return cpuCounts[m_cpuCalls++ % cpuCounts.size()]; };
    figures.fpuPasses = [this] { return fpuCounts[m_fpuCalls++ % fpuCounts.size()]; };
    figures.memory = [this] { return memory[m_memoryCalls++ % memory.size()]; };
    figures.video = [this] { return video[m_videoCalls++ % video.size()]; };
    figures.free = [this](const std::string& mount) {
        return fullDrives.contains("Drive " + QString::fromStdString(mount))
                   ? 0
                   : std::uint64_t{1} << 40;
    };
    figures.disk = [this](const std::string& mount) {
        const int drive = int(driveEntries.indexOf("Drive " + QString::fromStdString(mount)));
        if (drive < 0)
            return 7000; // a directory on none of the drives (--drive)
        const QList<int>& values = disk[drive];
        return values[m_diskCalls[drive]++ % values.size()];
    };
    setup.kernels = figures.kernels();
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
    setup.surface.unavailable = videoSkipped;
    setup.surface.surface = [this]() -> bench::TestSurface* {
        return videoSkipped.isEmpty() ? &surface : nullptr;
    };
    setup.surface.method = [this] {
        return surface.backingStore ? report::kVideoMethodBackingStore : report::kVideoMethodX11;
    };
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
