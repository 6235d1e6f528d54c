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

class Chart;

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

// The four benchmark charts: the window's chart widgets, or charts that only
// hold their bars for a run without a window. They outlive the session.
struct SessionCharts
{
    Chart& processor;
    Chart& memory;
    Chart& video;
    Chart& drive;
};

// The program's state below the windows and the operations on it: the
// comparison database, the reference machine with the last pass counts, the
// overview texts, the fixed drives with the one selected, the four charts and
// the results log. The main window shows it (each page handler is its busy
// frame around one operation here); the report without a window runs the
// same session on charts in memory.
//
// A page operation rebuilds its chart and leaves this machine's result in
// the chart's own bar; errors propagate with the chart as far as it got.
class Session : public QObject
{
    Q_OBJECT

public:
    // Opens the database at `databasePath` and lists the fixed drives; the
    // first one is selected.
    Session(const QString& databasePath, SessionCharts charts, MachineProbes probes = {},
            SessionKernels kernels = {});

    ComparisonDatabase& database() { return m_database; }
    const ComparisonDatabase& database() const { return m_database; }
    const bench::BenchState& benchState() const { return m_state; }

    // The DATA values of base.ini, read afresh (at every activation).
    void loadReferenceMachine();
    // One probe pass into the overview texts. The drive sizes stay, and so
    // does the OS text when the version cannot be read.
    void refreshOverview();
    const sysinfo::OverviewFields& overview() const { return m_overview; }

    // The drive list's entries ("Drive <name>"), in order.
    const QStringList& drives() const { return m_drives; }
    // The mount point of entry `index` in the bytes the system gave.
    QByteArray mountPoint(int index) const;
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

    // The processor page: reference rows, both scores, the pass counts kept.
    void runProcessor();
    // The same against a neutral reference machine where base.ini has none,
    // so the pass counts are measured; the scores then mean nothing.
    void runProcessorUnscored();
    // The memory page in `mode` (any other value runs nothing).
    void runMemory(bench::MemoryMode mode);
    // The video page's rows with its own bar at 0, measuring nothing.
    void showVideoRows();
    // The video page's full-screen fill test on `surface`.
    void runVideo(bench::TestSurface& surface);
    // The HDD page's write test on the selected drive (bar 0 stays 0
    // without one).
    void runDrive();
    // Why runDrive would measure nothing on the selected drive; empty when
    // it measures.
    QString driveSkipReason() const;

    // The own bars: bar 0 of each chart, bar 1 of the processor chart.
    std::int32_t cpuScore() const;
    std::int32_t fpuScore() const;
    std::int32_t memoryResult() const;
    std::int32_t videoResult() const;
    std::int32_t driveResult() const;

    // What a new row of the database editor takes from this machine.
    MachineValues machineValues() const;

    // The results log, line by line; "Press Start ..." at first.
    const QStringList& log() const { return m_log; }
    void clearLog();
    void appendLog(const QStringList& lines);

signals:
    void logCleared();
    void logAppended(const QString& line);

private:
    QByteArray selectedMountPoint() const { return mountPoint(m_selectedDrive); }

    ComparisonDatabase m_database;
    SessionCharts m_charts;
    MachineProbes m_probes;
    SessionKernels m_kernels;
    bench::BenchState m_state;
    sysinfo::OverviewFields m_overview;
    QStringList m_drives;
    QList<QByteArray> m_drivePaths;
    QStringList m_driveFilesystems;
    QString m_rootFilesystem;
    int m_selectedDrive = -1;
    QStringList m_log;
};

} // namespace report
