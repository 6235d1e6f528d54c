#pragma once

#include "bench/Scaling.h"
#include "controls/Chart.h"
#include "report/AllTests.h"
#include "report/CommandLine.h"
#include "sysinfo/Overview.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class ComparisonDatabase;

namespace report {

// The page work a run without a window does on its charts; tests put fakes
// (or the real pages on fake kernels) here.
struct ReportPages
{
    std::function<sysinfo::OverviewFields()> gatherOverview;
    std::function<sysinfo::FixedDriveListing()> listFixedDrives;
    // The processor page: both scores, the pass counts into the state.
    std::function<void(Chart&, const ComparisonDatabase&, bench::BenchState&)> processorPage;
    // The memory page's comparative test.
    std::function<void(Chart&, const ComparisonDatabase&)> memoryPage;
    // The video page with its measurement, returning how it filled (see
    // kVideoMethodX11); empty where it cannot run, and then `videoSkipped`
    // says why.
    std::function<QString(Chart&, const ComparisonDatabase&)> videoPage;
    QString videoSkipped;
    // The HDD page for one entry of the drive list and its mount point (the
    // bytes the system gave; empty when the listing has none), returning why
    // it did not measure (empty when it did).
    std::function<QString(Chart&, const ComparisonDatabase&, const QString& entry,
                          const QByteArray& mountPoint)>
        diskPage;
};

// How the video test filled: through the X server, or into the toolkit's
// backing store, whose figures do not compare with the first.
inline const QString kVideoMethodX11 = QStringLiteral("X server fills");
inline const QString kVideoMethodBackingStore =
    QStringLiteral("backing store (not comparable with X server fills)");

// The pages of the all-tests run on charts in memory, in the state the main
// window starts in: the drives listed once, the memory page in comparative
// mode. `progress` hears the name of each test as it starts.
class HeadlessSteps : public AllTestsSteps
{
public:
    HeadlessSteps(const ComparisonDatabase& database, ReportPages pages,
                  std::function<void(const QString&)> progress = {});

    // As the window's activation: the DATA values and the overview fields.
    void refreshOverview();
    const bench::BenchState& benchState() const { return m_state; }

    // Runs only these tests (kTestNames) and, when `drivePaths` is not
    // empty, only the drives that hold them. Returns what is wrong with a
    // path that lies on no listed drive; empty when all are found.
    QString select(const QStringList& tests, const QStringList& drivePaths);
    // What did not run and why, what did, and how the video test filled.
    const QMap<QString, QString>& skipped() const { return m_skipped; }
    const QStringList& measured() const { return m_measured; }
    const QString& videoMethod() const { return m_videoMethod; }

    OverviewTexts overviewTexts() override { return m_texts; }
    ProcessorFigures runProcessor() override;
    void runMemory() override;
    bool comparativeModeSelected() override { return true; }
    void selectComparativeMode() override {}
    std::int32_t memoryResult() override { return ownBar(m_memoryChart); }
    std::int32_t runVideo() override;
    QStringList driveEntries() override { return m_drives; }
    QString selectDrive(int index) override;
    std::int32_t runDisk() override;

private:
    static std::int32_t ownBar(const Chart& chart);
    void tell(const QString& what) const;
    void skip(const QStringList& names, const QString& why);

    QStringList m_tests = kTestNames;
    QList<int> m_selectedDrives; // indexes; all when empty
    QMap<QString, QString> m_skipped;
    QStringList m_measured;
    QString m_videoMethod;
    int m_selectedIndex = -1;

    const ComparisonDatabase& m_database;
    ReportPages m_pages;
    std::function<void(const QString&)> m_progress;
    bench::BenchState m_state;
    OverviewTexts m_texts;
    QStringList m_drives;
    QList<QByteArray> m_paths;
    QByteArray m_selectedPath;
    QString m_selectedDrive;
    MemoryChart m_processorChart;
    MemoryChart m_memoryChart;
    MemoryChart m_videoChart;
    MemoryChart m_diskChart;
};

} // namespace report
