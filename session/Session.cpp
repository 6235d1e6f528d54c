// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Session.h"

#include "session/ResultsLog.h"

#include <QFile>
#include <QScopeGuard>

#include <utility>

namespace report {
namespace {

// A chart's own bars as the editor reads them: none without a result.
OwnBars ownBarsOf(const std::optional<std::int32_t>& value)
{
    return value ? OwnBars{1, *value, 0} : OwnBars{};
}

OwnBars ownBarsOf(const std::optional<bench::ProcessorResult>& result)
{
    return result ? OwnBars{2, result->cpuScore, result->fpuScore} : OwnBars{};
}

// After a full test the chart's first bars are its smallest block's pair.
OwnBars memoryBarsOf(const PageResults& results)
{
    if (results.memoryShown == bench::MemoryMode::Comparative)
        return ownBarsOf(results.memory);
    const bench::MemorySweep sweep = results.memorySweep.value_or(bench::MemorySweep{});
    if (sweep.isEmpty())
        return {};
    return {std::int32_t(2 * sweep.size()), sweep.front().read, sweep.front().write};
}

} // namespace

Session::Session(const QString& databasePath, MachineProbes probes, SessionKernels kernels)
    : m_database(databasePath), m_probes(std::move(probes)),
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
    m_reference = bench::LoadScaling(m_database);
}

void Session::refreshOverview()
{
    sysinfo::OverviewFields fields = m_probes.gatherOverview();
    fields.hdd = m_overview.hdd;
    if (!fields.os)
        fields.os = m_overview.os;
    m_overview = std::move(fields);
}

int Session::addDirectory(const QByteArray& path, const QString& filesystem)
{
    if (const auto known = m_drivePaths.indexOf(path); known >= 0)
        return int(known);
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
    measureProcessor(m_reference);
}

void Session::runProcessorUnscored()
{
    measureProcessor({1, 1, 1, {}, {}, {}});
}

void Session::measureProcessor(const bench::ReferenceMachine& reference)
{
    const auto told = qScopeGuard([this] { emit resultsChanged(); });
    bench::ProcessorResult& result = m_results.processor.emplace();
    const bench::ReferenceRowList rows =
        bench::ReadReferenceRows(m_database, bench::ProcessorPageRows());
    const auto show = [&] {
        emit chartChanged(ChartPage::Processor, bench::ProcessorBars(rows, result));
    };
    show();
    bench::MeasureProcessor(reference, m_kernels.processor, result, show);
    show();
}

void Session::setMemoryMode(bench::MemoryMode mode)
{
    if (std::exchange(m_memoryMode, mode) != mode)
        emit memoryModeChanged(mode);
}

void Session::runMemory()
{
    const auto told = qScopeGuard([this] { emit resultsChanged(); });
    if (m_memoryMode == bench::MemoryMode::Full)
        runFullMemory();
    else
        runComparativeMemory();
}

void Session::runComparativeMemory()
{
    m_results.memoryShown = bench::MemoryMode::Comparative;
    std::int32_t& value = m_results.memory.emplace(0);
    const bench::ReferenceRowList rows =
        bench::ReadReferenceRows(m_database, bench::MemoryPageRows());
    emit chartChanged(ChartPage::Memory, bench::ComparativeMemoryBars(rows, 0));
    value = bench::MeasureComparativeMemory(m_kernels.memory);
    emit chartChanged(ChartPage::Memory, bench::ComparativeMemoryBars(rows, value));
}

// Each pair is drawn as soon as it is measured.
void Session::runFullMemory()
{
    m_results.memoryShown = bench::MemoryMode::Full;
    bench::MemorySweep& sweep = m_results.memorySweep.emplace();
    bench::MeasureFullMemory(
        sweep, [&] { emit chartChanged(ChartPage::Memory, bench::FullMemoryBars(sweep)); },
        m_kernels.memory);
}

void Session::showVideoRows()
{
    const auto told = qScopeGuard([this] { emit resultsChanged(); });
    m_results.video = 0;
    m_results.videoBackingStore = false;
    emit chartChanged(
        ChartPage::Video,
        bench::VideoBars(bench::ReadReferenceRows(m_database, bench::VideoPageRows()), 0));
}

void Session::runVideo(bench::TestSurface& surface)
{
    const auto told = qScopeGuard([this] { emit resultsChanged(); });
    std::int32_t& rate = m_results.video.emplace(0);
    // Known once the test has run to its end.
    m_results.videoBackingStore = false;
    const bench::ReferenceRowList rows =
        bench::ReadReferenceRows(m_database, bench::VideoPageRows());
    emit chartChanged(ChartPage::Video, bench::VideoBars(rows, 0));
    rate = bench::MeasureVideo(surface, m_kernels.video);
    m_results.videoBackingStore = surface.FillsBackingStore();
    emit chartChanged(ChartPage::Video, bench::VideoBars(rows, rate, m_results.videoBackingStore));
}

void Session::runDrive()
{
    const auto told = qScopeGuard([this] { emit resultsChanged(); });
    std::int32_t& rate = m_results.drive.emplace(0);
    const bench::ReferenceRowList rows =
        bench::ReadReferenceRows(m_database, bench::DrivePageRows());
    emit chartChanged(ChartPage::Drive, bench::DriveBars(rows, 0));
    rate = bench::MeasureDrive(selectedMountPoint().toStdString(), m_kernels.disk);
    emit chartChanged(ChartPage::Drive, bench::DriveBars(rows, rate));
}

QString Session::driveSkipReason() const
{
    return QString::fromStdString(
        bench::DiskSkipReason(selectedMountPoint().toStdString(), m_kernels.disk));
}

bool Session::hasResult(ChartPage page) const
{
    switch (page) {
    case ChartPage::Processor:
        return m_results.processor.has_value();
    case ChartPage::Memory:
        return memoryBarsOf(m_results).count > 0;
    case ChartPage::Video:
        return m_results.video.has_value();
    case ChartPage::Drive:
        break;
    }
    return m_results.drive.has_value();
}

std::int32_t Session::cpuScore() const
{
    return m_results.processor ? m_results.processor->cpuScore : 0;
}

std::int32_t Session::fpuScore() const
{
    return m_results.processor ? m_results.processor->fpuScore : 0;
}

// A video figure filled into a backing store is not offered for a new row:
// it does not compare with the reference machines.
MachineValues Session::machineValues() const
{
    return {m_overview.processor,
            m_overview.memory,
            m_overview.display,
            selectedDriveEntry(),
            ownBarsOf(m_results.processor),
            memoryBarsOf(m_results),
            m_results.videoBackingStore ? OwnBars{} : ownBarsOf(m_results.video),
            ownBarsOf(m_results.drive)};
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
