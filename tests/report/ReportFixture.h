// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SetFigures.h"

#include "report/ReportCommand.h"

#include <QBuffer>
#include <QList>
#include <QTemporaryDir>

// A report run on fake kernels: a base.ini, an environment tree and the two
// output streams in a temporary folder. The fakes hand out the next figure of
// their list at each run, so repeated runs see known spreads.
struct ReportFixture
{
    explicit ReportFixture(int drives = 2);

    // Runs the report with these options on a fresh pair of streams.
    int run(const report::ReportOptions& options);
    QString out() const { return QString::fromUtf8(outBuffer.data()); }
    QString err() const { return QString::fromUtf8(errBuffer.data()); }
    QStringList outLines() const;

    void writeDatabase(const QByteArray& text);
    void writeEnvironmentFile(const QString& path, const QByteArray& text);

    QTemporaryDir directory;
    QStringList driveEntries;
    QString rootFilesystem = QStringLiteral("ext4"); // what the listing says "/" is on
    sysinfo::OverviewFields overview;                // what the probes return
    QList<int> cpuCounts{600};
    QList<int> fpuCounts{300};
    QList<int> memory{5000};
    QList<int> video{700};
    QList<QList<int>> disk; // per drive, per run
    QStringList fullDrives; // entries whose page finds no room
    bool hypervisor = false;
    bool tickPublished = true;
    platform::ObtainedPriority priority = platform::ObtainedPriority::RealTime;
    bool terminal = false;
    QString videoSkipped;
    SetFigures figures;
    MemorySurface surface;
    report::ReportSetup setup;
    QBuffer outBuffer;
    QBuffer errBuffer;

private:
    int m_cpuCalls = 0;
    int m_fpuCalls = 0;
    int m_memoryCalls = 0;
    int m_videoCalls = 0;
    QList<int> m_diskCalls;
};
