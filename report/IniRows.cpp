// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/IniRows.h"

#include "database/IniLine.h"
#include "database/ListKinds.h"
#include "session/Tests.h"

namespace report {
namespace {

QString heading(ListKind kind)
{
    return QLatin1Char('[') + ShapeOf(kind).section + QLatin1Char(']');
}

} // namespace

QString IniKey(const QString& description)
{
    QString key = description;
    key.replace(QLatin1Char('='), QLatin1Char('-'));
    key = CleanIniName(key);
    // A key may not look like a comment or a section header either.
    if (key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('[')))
        key.prepend(QLatin1Char('_'));
    return key.isEmpty() ? QStringLiteral("Unnamed") : key;
}

QStringList IniRows(const AllTestsResults& results)
{
    const sysinfo::OverviewFields& overview = results.overview;
    const auto row = [&results](ListKind kind, const FigureKey& key, const QString& text,
                                const QString& value) {
        if (results.skipped.contains(key))
            return QStringLiteral("; no row: ") + results.skipped.value(key);
        return IniKey(OwnRowDescription(kind, text)) + QLatin1Char('=') + value;
    };
    const ProcessorFigures& p = results.processor;
    QStringList lines{heading(lkProcessor)};
    if (p.scored || results.skipped.contains(FigureKey{TestId::Cpu}))
        lines << row(
            lkProcessor, FigureKey{TestId::Cpu}, overview.processor,
            RowValue(lkProcessor, QString::number(p.cpuScore), QString::number(p.fpuScore)));
    else
        lines << QStringLiteral("; no row: no reference machine in base.ini to score against");
    lines << heading(lkMemory)
          << row(lkMemory, FigureKey{TestId::Memory}, overview.memory,
                 QString::number(results.memory))
          << heading(lkVideo);
    if (results.videoBackingStore && !results.skipped.contains(FigureKey{TestId::Video}))
        lines << QStringLiteral("; no row: ") + kNoVideoRow;
    else
        lines << row(lkVideo, FigureKey{TestId::Video}, overview.display,
                     QString::number(results.video));
    lines << heading(lkHdd);
    for (const DriveFigure& drive : results.drives)
        lines << row(lkHdd, {TestId::Disk, drive.mountPoint}, drive.entry,
                     QString::number(drive.kilobytesPerSecond));
    return lines;
}

} // namespace report
