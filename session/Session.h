// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/DiskPage.h"
#include "bench/MemoryPage.h"
#include "bench/ProcessorPage.h"
#include "bench/ReferenceMachine.h"
#include "bench/VideoPage.h"
#include "database/ComparisonDatabase.h"
#include "database/MachineValues.h"
#include "sysinfo/Overview.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace report {

// What a session reads of the machine; the defaults are this machine. Tests
// put set texts here (the overview's clock measurement takes a second).
struct MachineProbes
{
    std::function<sysinfo::OverviewFields()> gatherOverview = [] {
        return sysinfo::GatherOverview();
    };
    std::function<sysinfo::FixedDriveListing()> listFixedDrives = [] {
        return sysinfo::ListFixedDrives();
    };
};

// The kernels the pages run; tests put fast fakes here.
struct SessionKernels
{
    bench::ProcessorKernels processor = bench::RealProcessorKernels();
    bench::MemoryKernels memory = bench::RealMemoryKernels();
    bench::VideoKernels video = bench::RealVideoKernels();
    bench::DiskKernels disk = bench::RealDiskKernels();
};

// The four benchmark pages, in the order of their tabs.
enum class ChartPage
{
    Processor,
    Memory,
    Video,
    Drive,
};

// This machine's results as the pages left them; none before a page's first
// refresh. A refresh that has begun holds 0 until its kernel has measured
// (its chart shows the own bar at 0), and what it measured when a later
// step fails.
struct PageResults
{
    std::optional<bench::ProcessorResult> processor;
    std::optional<std::int32_t> memory;                             // comparative test, MiB/s
    std::optional<bench::MemorySweep> memorySweep;                  // full test, the pairs so far
    bench::MemoryMode memoryShown = bench::MemoryMode::Comparative; // what the chart shows
    std::optional<std::int32_t> video;                              // MiB/s
    bool videoBackingStore = false;    // the video figure was filled into a backing store
    std::optional<std::int32_t> drive; // KB/s of the drive last tested
};

// The program's state below the windows and the operations on it: the
// comparison database, the reference machine, the overview texts, the fixed
// drives with the one selected, the memory page's mode, this machine's
// results and the results log. The main window shows it (each page handler
// is its busy frame around one operation here, its charts show the bars the
// session sends); the report without a window runs the same session and
// shows no chart.
//
// A page operation reads the page's reference rows, measures, and keeps the
// figures in `results()`; it sends the page's chart with `chartChanged` once
// the rows are read and again after each measured step. Errors propagate
// with the results as far as they got; a rejected row sends no chart.
class Session : public QObject
{
    Q_OBJECT

public:
    // Opens the database at `databasePath` and lists the fixed drives; the
    // first one is selected.
    explicit Session(const QString& databasePath, MachineProbes probes = {},
                     SessionKernels kernels = {});

    ComparisonDatabase& database() { return m_database; }
    const ComparisonDatabase& database() const { return m_database; }
    const bench::ReferenceMachine& reference() const { return m_reference; }

    // The DATA values of base.ini, read afresh (at every activation).
    void loadReferenceMachine();
    // One probe pass into the overview texts. The drive sizes stay, and so
    // does the OS text when the version cannot be read.
    void refreshOverview();
    const sysinfo::OverviewFields& overview() const { return m_overview; }

    // The drive list's entries ("Drive <name>"), in order.
    const QStringList& drives() const { return m_drives; }
    // The mount point of entry `index` in the bytes the system gave.
    QByteArray mountPoint(int index) const { return m_drivePaths.value(index); }
    // The filesystem type of entry `index` ("ext4"); empty when unknown.
    QString driveFilesystem(int index) const { return m_driveFilesystems.value(index); }
    // The type of the filesystem at "/" ("overlay" in a container).
    const QString& rootFilesystem() const { return m_rootFilesystem; }
    // Adds a directory on none of the fixed drives as a drive of its own,
    // "Drive <path>", for the report's --drive; returns its index (the one
    // it has when it is there already).
    int addDirectory(const QByteArray& path, const QString& filesystem);
    // -1 when there is no drive.
    int selectedDrive() const { return m_selectedDrive; }
    void selectDrive(int index);
    QString selectedDriveEntry() const { return m_drives.value(m_selectedDrive); }

    // The processor page: reference rows, both scores and their pass counts.
    void runProcessor();
    // The same against a neutral reference machine where base.ini has none,
    // so the pass counts are measured; the scores then mean nothing.
    void runProcessorUnscored();
    // The memory page's mode: comparative at start.
    bench::MemoryMode memoryMode() const { return m_memoryMode; }
    void setMemoryMode(bench::MemoryMode mode);
    // The memory page in its mode.
    void runMemory();
    // The video page's rows with its own bar at 0, measuring nothing.
    void showVideoRows();
    // The video page's full-screen fill test on `surface`.
    void runVideo(bench::TestSurface& surface);
    // The HDD page's write test on the selected drive (0 without one).
    void runDrive();
    // Why runDrive would measure nothing on the selected drive; empty when
    // it measures.
    QString driveSkipReason() const;

    const PageResults& results() const { return m_results; }
    // Whether the page's chart shows anything yet: a page is refreshed when
    // it is first shown without a result.
    bool hasResult(ChartPage page) const;
    // The figures of the results, 0 where there is none.
    std::int32_t cpuScore() const;
    std::int32_t fpuScore() const;
    std::int32_t memoryResult() const { return m_results.memory.value_or(0); }
    std::int32_t videoResult() const { return m_results.video.value_or(0); }
    // Whether the video figure was filled into a backing store (see
    // bench::TestSurface::FillsBackingStore); false while it is 0.
    bool videoFromBackingStore() const { return m_results.videoBackingStore; }
    std::int32_t driveResult() const { return m_results.drive.value_or(0); }

    // What a new row of the database editor takes from this machine (no
    // video figure that was filled into a backing store).
    MachineValues machineValues() const;

    // The results log, line by line; "Press Start ..." at first.
    const QStringList& log() const { return m_log; }
    void clearLog();
    void appendLog(const QStringList& lines);

signals:
    // The page's chart as it is to be shown now.
    void chartChanged(report::ChartPage page, const TMyChartBars& bars);
    // After each page operation, also one that failed.
    void resultsChanged();
    void memoryModeChanged(bench::MemoryMode mode);
    void logCleared();
    void logAppended(const QString& line);

private:
    void measureProcessor(const bench::ReferenceMachine& reference);
    void runComparativeMemory();
    void runFullMemory();
    QByteArray selectedMountPoint() const { return mountPoint(m_selectedDrive); }

    ComparisonDatabase m_database;
    MachineProbes m_probes;
    SessionKernels m_kernels;
    bench::ReferenceMachine m_reference;
    sysinfo::OverviewFields m_overview;
    QStringList m_drives;
    QList<QByteArray> m_drivePaths;
    QStringList m_driveFilesystems;
    QString m_rootFilesystem;
    int m_selectedDrive = -1;
    bench::MemoryMode m_memoryMode = bench::MemoryMode::Comparative;
    PageResults m_results;
    QStringList m_log;
};

} // namespace report
