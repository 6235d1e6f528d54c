#include "report/HeadlessSteps.h"

#include "bench/ReferenceRows.h"
#include "platform/DiskDirectory.h"
#include "report/Environment.h"

#include <QFile>

#include <utility>

namespace report {
namespace {

const QString NotAsked = QStringLiteral("not asked for (--tests, --drive)");

// A listing without paths names the mount point after "Drive ".
QByteArray mountPointOf(const QString& entry, const QByteArray& path)
{
    return path.isEmpty() ? QFile::encodeName(entry.mid(QStringLiteral("Drive ").size())) : path;
}

} // namespace

HeadlessSteps::HeadlessSteps(const ComparisonDatabase& database, ReportPages pages,
                             std::function<void(const QString&)> progress)
    : m_database(database), m_pages(std::move(pages)), m_progress(std::move(progress))
{
    const sysinfo::FixedDriveListing drives = m_pages.listFixedDrives();
    m_drives = drives.items;
    m_paths = drives.paths;
    m_texts.hdd = drives.sizes;
}

void HeadlessSteps::refreshOverview()
{
    tell(QStringLiteral("System overview"));
    m_state.reference = bench::LoadScaling(m_database);
    const sysinfo::OverviewFields fields = m_pages.gatherOverview();
    m_texts.processor = fields.processor;
    m_texts.memory = fields.memory;
    m_texts.computerName = fields.computerName;
    m_texts.userName = fields.userName;
    if (fields.os)
        m_texts.os = *fields.os;
    m_texts.video = fields.display;
    m_texts.monitor = fields.monitor;
    m_texts.cdrom = fields.cdrom;
    m_texts.mouse = fields.mouse;
}

QString HeadlessSteps::select(const QStringList& tests, const QStringList& drivePaths)
{
    m_tests = tests;
    m_selectedDrives.clear();
    for (const QString& path : drivePaths) {
        qsizetype found = -1;
        for (qsizetype i = 0; i < m_drives.size() && found < 0; ++i) {
            const QByteArray mount = mountPointOf(m_drives[i], m_paths.value(i));
            if (platform::SameFilesystem(QFile::encodeName(path).toStdString(),
                                         mount.toStdString()))
                found = i;
        }
        if (found < 0)
            return QStringLiteral("--drive %1: not on any of the fixed drives (%2)")
                .arg(path, m_drives.join(QStringLiteral(", ")));
        m_selectedDrives << int(found);
    }
    return {};
}

ProcessorFigures HeadlessSteps::runProcessor()
{
    // One page runs both kernels, whichever of the two is asked for.
    if (!m_tests.contains(QStringLiteral("cpu")) && !m_tests.contains(QStringLiteral("fpu"))) {
        skip({QStringLiteral("cpu"), QStringLiteral("fpu")}, NotAsked);
        return {};
    }
    tell(QStringLiteral("Processor"));
    // Without a reference machine the kernels still count their passes; the
    // page then scores against a neutral one, and the scores are not reported.
    const bool scored = MissingReferenceKeys(m_state.reference).isEmpty();
    bench::BenchState state = m_state;
    if (!scored)
        state.reference = {1, 1, 1, {}};
    m_pages.processorPage(m_processorChart, m_database, state);
    m_state.LastCpuCount = state.LastCpuCount;
    m_state.LastFpuCount = state.LastFpuCount;
    m_measured << QStringLiteral("cpu") << QStringLiteral("fpu");
    const TMyChartBars& bars = m_processorChart.bars();
    const std::int32_t fpu = bars.Count > 1 ? bars.Items[1].Value : 0;
    if (!scored)
        return {0, m_state.LastCpuCount, 0, m_state.LastFpuCount, false};
    return {ownBar(m_processorChart), m_state.LastCpuCount, fpu, m_state.LastFpuCount};
}

void HeadlessSteps::runMemory()
{
    if (!m_tests.contains(QStringLiteral("memory")))
        return skip({QStringLiteral("memory")}, NotAsked);
    tell(QStringLiteral("Memory"));
    m_pages.memoryPage(m_memoryChart, m_database);
    m_measured << QStringLiteral("memory");
}

std::int32_t HeadlessSteps::runVideo()
{
    if (!m_tests.contains(QStringLiteral("video"))) {
        skip({QStringLiteral("video")}, NotAsked);
        return 0;
    }
    if (!m_pages.videoPage) {
        // The chart as the page shows it before its first measurement.
        bench::LoadReferenceRows(m_videoChart, m_database, bench::VideoPageRows());
        skip({QStringLiteral("video")}, m_pages.videoSkipped);
        return ownBar(m_videoChart);
    }
    tell(QStringLiteral("Video"));
    m_videoMethod = m_pages.videoPage(m_videoChart, m_database);
    m_measured << QStringLiteral("video");
    return ownBar(m_videoChart);
}

QString HeadlessSteps::selectDrive(int index)
{
    m_selectedIndex = index;
    m_selectedDrive = m_drives.value(index);
    m_selectedPath = m_paths.value(index);
    return m_selectedDrive;
}

std::int32_t HeadlessSteps::runDisk()
{
    const bool asked = m_tests.contains(QStringLiteral("disk")) &&
                       (m_selectedDrives.isEmpty() || m_selectedDrives.contains(m_selectedIndex));
    if (!asked) {
        skip({m_selectedDrive}, NotAsked);
        return 0;
    }
    tell(m_selectedDrive);
    const QString skipped =
        m_pages.diskPage(m_diskChart, m_database, m_selectedDrive, m_selectedPath);
    if (!skipped.isEmpty())
        skip({m_selectedDrive}, skipped);
    else
        m_measured << m_selectedDrive;
    return ownBar(m_diskChart);
}

std::int32_t HeadlessSteps::ownBar(const Chart& chart)
{
    return chart.bars().Count > 0 ? chart.bars().Items[0].Value : 0;
}

void HeadlessSteps::skip(const QStringList& names, const QString& why)
{
    for (const QString& name : names)
        m_skipped.insert(name, why);
}

void HeadlessSteps::tell(const QString& what) const
{
    if (m_progress)
        m_progress(what + QStringLiteral(" ..."));
}

} // namespace report
