#pragma once

#include "bench/BenchError.h"
#include "bench/ProcessorPage.h"
#include "bench/ReferenceRows.h"
#include "controls/Chart.h"
#include "shell/BenchmarkPages.h"

#include <QMap>
#include <QStringList>

#include <functional>

// Pages that build their charts from the database's rows as the real ones
// do, on fake kernels with set results, and keep a journal of what ran.
class ScriptedPages : public BenchmarkPages
{
public:
    void RefreshProcessor(Chart& chart, const ComparisonDatabase& database,
                          bench::BenchState& state) override
    {
        note("processor");
        bench::RefreshProcessorPage(chart, database, state,
                                    {[this] { return cpuCount; }, [this] { return fpuCount; }});
    }
    void RefreshMemory(Chart& chart, const ComparisonDatabase& database, MemoryMode mode) override
    {
        if (mode == MemoryMode::Full) {
            note("memory full");
            // The full test's chart: read and write bars per block size.
            chart.BeginUpdate();
            chart.Clear();
            chart.AddBar(QStringLiteral("1 Kb read"), fullRead, 0x0000FF);
            chart.AddBar(QStringLiteral("write"), fullRead / 2, 0x00FF00);
            chart.EndUpdate();
            return;
        }
        note("memory comparative");
        own(chart, database, bench::MemoryPageRows(), memory);
    }
    void UpdateVideoChart(Chart& chart, const ComparisonDatabase& database) override
    {
        journal << "video rows";
        bench::LoadReferenceRows(chart, database, bench::VideoPageRows());
    }
    void RefreshVideo(Chart& chart, const ComparisonDatabase& database,
                      bench::TestSurface&) override
    {
        note("video");
        bench::LoadReferenceRows(chart, database, bench::VideoPageRows());
        if (!videoError.isEmpty())
            throw bench::BenchError(videoError.toStdString());
        chart.bars().Items[0].Value = video;
        chart.Redraw();
    }
    void RefreshDrive(Chart& chart, const ComparisonDatabase& database,
                      const QByteArray& mountPoint) override
    {
        const QString path = QString::fromUtf8(mountPoint);
        note("drive " + path);
        own(chart, database, bench::DrivePageRows(), drives.value(path));
    }

    std::int32_t cpuCount = 600;
    std::int32_t fpuCount = 300;
    std::int32_t fullRead = 1234;
    std::int32_t memory = 5000;
    std::int32_t video = 700;
    QString videoError;                 // the video test fails with it
    QMap<QString, std::int32_t> drives; // KB/s by mount point
    QStringList journal;
    std::function<void(const QString& step)> afterStep; // called once a step is noted

private:
    void note(const QString& step)
    {
        journal << step;
        if (afterStep)
            afterStep(step);
    }

    static void own(Chart& chart, const ComparisonDatabase& database,
                    const bench::ChartPageRows& rows, std::int32_t value)
    {
        bench::LoadReferenceRows(chart, database, rows);
        chart.bars().Items[0].Value = value;
        chart.Redraw();
    }
};
