// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Session.h"

#include "controls/Chart.h"
#include "report/ResultsLog.h"

#include <QFile>

#include <utility>

namespace report {
namespace {

std::int32_t barValue(const Chart& chart, int index)
{
    const TMyChartBars& bars = chart.bars();
    return bars.Count > index ? bars.Items[std::size_t(index)].Value : 0;
}

OwnBars ownBarsOf(const Chart& chart)
{
    return {chart.bars().Count, barValue(chart, 0), barValue(chart, 1)};
}

} // namespace

Session::Session(const QString& databasePath, SessionCharts charts, MachineProbes probes,
                 SessionKernels kernels)
    : m_database(databasePath), m_charts(charts), m_probes(std::move(probes)),
      m_kernels(std::move(kernels)), m_log{InitialLogText}
{
    const sysinfo::FixedDriveListing listing = m_probes.listFixedDrives();
    m_drives = listing.items;
    m_drivePaths = listing.paths;
    m_driveFilesystems = listing.filesystems;
    m_rootFilesystem = listing.rootFilesystem;
    m_overview.hdd = listing.sizes;
    m_selectedDrive = m_drives.isEmpty() ? -1 : 0;
}

void Session::loadReferenceMachine()
{
    m_state.reference = bench::LoadScaling(m_database);
}

void Session::refreshOverview()
{
    sysinfo::OverviewFields fields = m_probes.gatherOverview();
    fields.hdd = m_overview.hdd;
    if (!fields.os)
        fields.os = m_overview.os;
    m_overview = std::move(fields);
}

// A listing without paths names the mount point after "Drive ".
QByteArray Session::mountPoint(int index) const
{
    if (index < 0 || index >= m_drives.size())
        return QByteArray();
    if (index < m_drivePaths.size())
        return m_drivePaths[index];
    return QFile::encodeName(m_drives[index].mid(QStringLiteral("Drive ").size()));
}

int Session::addDirectory(const QByteArray& path, const QString& filesystem)
{
    for (int i = 0; i < m_drives.size(); ++i)
        if (mountPoint(i) == path)
            return i;
    // Entries and paths go together from here on.
    while (m_drivePaths.size() < m_drives.size())
        m_drivePaths << mountPoint(int(m_drivePaths.size()));
    while (m_driveFilesystems.size() < m_drives.size())
        m_driveFilesystems << QString();
    m_drives << QStringLiteral("Drive ") + QFile::decodeName(path);
    m_drivePaths << path;
    m_driveFilesystems << filesystem;
    if (m_selectedDrive < 0)
        m_selectedDrive = 0;
    return int(m_drives.size() - 1);
}

void Session::selectDrive(int index)
{
    m_selectedDrive = index >= 0 && index < m_drives.size() ? index : -1;
}

void Session::runProcessor()
{
    bench::RefreshProcessorPage(m_charts.processor, m_database, m_state, m_kernels.processor);
}

void Session::runProcessorUnscored()
{
    bench::BenchState state = m_state;
    state.reference = {1, 1, 1, {}, {}, {}};
    bench::RefreshProcessorPage(m_charts.processor, m_database, state, m_kernels.processor);
    m_state.LastCpuCount = state.LastCpuCount;
    m_state.LastFpuCount = state.LastFpuCount;
}

void Session::runMemory(bench::MemoryMode mode)
{
    bench::RefreshMemoryPage(m_charts.memory, m_database, mode, m_kernels.memory);
}

void Session::showVideoRows()
{
    bench::UpdateVideoChart(m_charts.video, m_database);
}

void Session::runVideo(bench::TestSurface& surface)
{
    bench::RefreshVideoPage(m_charts.video, m_database, surface, m_kernels.video);
}

void Session::runDrive()
{
    bench::RefreshDiskPage(m_charts.drive, m_database, selectedMountPoint().toStdString(),
                           m_kernels.disk);
}

QString Session::driveSkipReason() const
{
    return QString::fromStdString(
        bench::DiskSkipReason(selectedMountPoint().toStdString(), m_kernels.disk));
}

std::int32_t Session::cpuScore() const
{
    return barValue(m_charts.processor, 0);
}

std::int32_t Session::fpuScore() const
{
    return barValue(m_charts.processor, 1);
}

std::int32_t Session::memoryResult() const
{
    return barValue(m_charts.memory, 0);
}

std::int32_t Session::videoResult() const
{
    return barValue(m_charts.video, 0);
}

std::int32_t Session::driveResult() const
{
    return barValue(m_charts.drive, 0);
}

MachineValues Session::machineValues() const
{
    return {m_overview.processor,
            m_overview.memory,
            m_overview.display,
            selectedDriveEntry(),
            ownBarsOf(m_charts.processor),
            ownBarsOf(m_charts.memory),
            ownBarsOf(m_charts.video),
            ownBarsOf(m_charts.drive)};
}

void Session::clearLog()
{
    m_log.clear();
    emit logCleared();
}

void Session::appendLog(const QStringList& lines)
{
    for (const QString& line : lines) {
        m_log << line;
        emit logAppended(line);
    }
}

} // namespace report
