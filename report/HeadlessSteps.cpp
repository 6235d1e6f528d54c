#include "report/HeadlessSteps.h"

#include "bench/ReferenceRows.h"

#include <utility>

namespace report {

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

ProcessorFigures HeadlessSteps::runProcessor()
{
    tell(QStringLiteral("Processor"));
    m_pages.processorPage(m_processorChart, m_database, m_state);
    const TMyChartBars& bars = m_processorChart.bars();
    const std::int32_t fpu = bars.Count > 1 ? bars.Items[1].Value : 0;
    return {ownBar(m_processorChart), m_state.LastCpuCount, fpu, m_state.LastFpuCount};
}

void HeadlessSteps::runMemory()
{
    tell(QStringLiteral("Memory"));
    m_pages.memoryPage(m_memoryChart, m_database);
}

std::int32_t HeadlessSteps::runVideo()
{
    if (!m_pages.videoPage) {
        // The chart as the page shows it before its first measurement.
        bench::LoadReferenceRows(m_videoChart, m_database, bench::VideoPageRows());
        return ownBar(m_videoChart);
    }
    tell(QStringLiteral("Video"));
    m_pages.videoPage(m_videoChart, m_database);
    return ownBar(m_videoChart);
}

QString HeadlessSteps::selectDrive(int index)
{
    m_selectedDrive = m_drives.value(index);
    m_selectedPath = m_paths.value(index);
    return m_selectedDrive;
}

std::int32_t HeadlessSteps::runDisk()
{
    tell(m_selectedDrive);
    m_pages.diskPage(m_diskChart, m_database, m_selectedDrive, m_selectedPath);
    return ownBar(m_diskChart);
}

std::int32_t HeadlessSteps::ownBar(const Chart& chart)
{
    return chart.bars().Count > 0 ? chart.bars().Items[0].Value : 0;
}

void HeadlessSteps::tell(const QString& what) const
{
    if (m_progress)
        m_progress(what + QStringLiteral(" ..."));
}

} // namespace report
