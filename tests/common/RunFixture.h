// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SetFigures.h"

#include "session/FullRun.h"
#include "session/Session.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// A view that writes down what the run asks of it.
struct ScriptedView : report::FullRunView
{
    void logCleared() override { journal << "log cleared"; }
    void testBegins(const report::RunTest& test) override { journal << test.name; }
    void showDrive(int index) override { journal << "show " + QString::number(index); }
    bench::TestSurface* testSurface() override { return &surface; }

    QStringList journal;
    MemorySurface surface;
};

// A session on charts in memory over a small base.ini, with `drives` drives
// mounted at "/", "/home" and "/srv".
struct RunFixture
{
    explicit RunFixture(int drives,
                        const QByteArray& data = "PIIMultCPU=600\nPIIMultFPU=300\nPIIFreq=100\n",
                        const QList<QByteArray>& mounts = {"/", "/home", "/srv"})
    {
        QFile file(directory.filePath("base.ini"));
        if (file.open(QIODevice::WriteOnly))
            file.write("[DATA]\n" + data +
                       "[Processor]\nRef=1,2\n[Memory]\nRef=3\n[Video]\nRef=4\n[Drive]\nRef=5\n");
        file.close();
        for (int i = 0; i < drives; ++i) {
            listing.items << "Drive " + QFile::decodeName(mounts[i]);
            listing.paths << mounts[i];
        }
        listing.sizes = "/ 100 Gb";
        figures.disk = [](const std::string& mount) { return mount == "/" ? 1000 : 2000; };
        report::MachineProbes probes;
        probes.gatherOverview = [this] {
            sysinfo::OverviewFields fields;
            fields.processor = "Test CPU";
            fields.os = os;
            return fields;
        };
        probes.listFixedDrives = [this] { return listing; };
        session = std::make_unique<report::Session>(directory.filePath("base.ini"), probes,
                                                    figures.kernels());
        QObject::connect(session.get(), &report::Session::chartChanged,
                         [this](report::ChartPage page, const TMyChartBars& bars) {
                             charts << qMakePair(page, bars);
                         });
        QObject::connect(
            session.get(), &report::Session::memoryModeChanged,
            [this](bench::MemoryMode mode) { view.journal << QString("mode %1").arg(int(mode)); });
        session->loadReferenceMachine();
        session->refreshOverview();
    }

    QTemporaryDir directory;
    sysinfo::FixedDriveListing listing;
    std::optional<QString> os = QString("Debian");
    SetFigures figures;
    ScriptedView view;
    QList<QPair<report::ChartPage, TMyChartBars>> charts; // as sent, in order
    std::unique_ptr<report::Session> session;

    // The values of the last chart sent for `page`.
    QList<int> lastChart(report::ChartPage page) const
    {
        QList<int> values;
        for (const auto& [sent, bars] : charts)
            if (sent == page) {
                values.clear();
                for (int i = 0; i < bars.Count; ++i)
                    values << bars.Items[i].Value;
            }
        return values;
    }
};
