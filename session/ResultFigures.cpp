// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/ResultFigures.h"

#include "session/Tests.h"

namespace report {

std::int32_t NamedFigure::pick(const AllTestsResults& run) const
{
    if (processorField != nullptr)
        return run.processor.*processorField;
    if (resultsField != nullptr)
        return run.*resultsField;
    return run.drives.value(drive).kilobytesPerSecond;
}

void NamedFigure::set(AllTestsResults& run, std::int32_t value) const
{
    if (processorField != nullptr)
        run.processor.*processorField = value;
    else if (resultsField != nullptr)
        run.*resultsField = value;
    else if (drive >= 0 && drive < run.drives.size())
        run.drives[drive].kilobytesPerSecond = value;
}

bool NamedFigure::isScore() const
{
    return unit == QLatin1String("relative");
}

bool NamedFigure::isPassCount() const
{
    return unit == QLatin1String("passes");
}

const QList<NamedFigure>& TestFigures()
{
    static const QList<NamedFigure> figures{
        {QStringLiteral("CPU score"), FigureKey{TestId::Cpu}, QStringLiteral("relative"),
         &ProcessorFigures::cpuScore},
        {QStringLiteral("CPU passes"), FigureKey{TestId::Cpu}, QStringLiteral("passes"),
         &ProcessorFigures::cpuPasses},
        {QStringLiteral("FPU score"), FigureKey{TestId::Fpu}, QStringLiteral("relative"),
         &ProcessorFigures::fpuScore},
        {QStringLiteral("FPU passes"), FigureKey{TestId::Fpu}, QStringLiteral("passes"),
         &ProcessorFigures::fpuPasses},
        {QStringLiteral("Memory"), FigureKey{TestId::Memory}, QStringLiteral("MiB/s"), nullptr,
         &AllTestsResults::memory},
        {QStringLiteral("Video"), FigureKey{TestId::Video}, QStringLiteral("MiB/s"), nullptr,
         &AllTestsResults::video},
    };
    return figures;
}

QList<TestId> FigureTests()
{
    QList<TestId> ids;
    for (const TestEntry& test : Tests())
        if (test.page != TestPage::Drive)
            ids << test.id;
    return ids;
}

// Drive figures are in 1,024-byte units: KiB/s (the log writes "KB/sec").
NamedFigure DriveSpeed(qsizetype index, const DriveFigure& drive)
{
    return {
        drive.entry, {TestId::Disk, drive.mountPoint}, QStringLiteral("KiB/s"), nullptr, nullptr,
        index};
}

QList<NamedFigure> AllFigures(const AllTestsResults& first)
{
    QList<NamedFigure> figures = TestFigures();
    for (qsizetype i = 0; i < first.drives.size(); ++i)
        figures << DriveSpeed(i, first.drives[i]);
    return figures;
}

QList<NamedFigure> Figures(const AllTestsResults& first)
{
    QList<NamedFigure> figures;
    for (const NamedFigure& figure : AllFigures(first)) {
        const bool shown = first.processor.scored ? !figure.isPassCount() : !figure.isScore();
        if (shown)
            figures << figure;
    }
    return figures;
}

QList<std::int32_t> MeasuredRuns(const QList<AllTestsResults>& runs, const NamedFigure& figure)
{
    QList<std::int32_t> values;
    for (const AllTestsResults& run : runs) {
        const bool unscored = figure.isScore() && !run.processor.scored;
        if (!run.skipped.contains(figure.key) && !unscored)
            values << figure.pick(run);
    }
    return values;
}

} // namespace report
