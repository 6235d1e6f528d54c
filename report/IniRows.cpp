#include "report/IniRows.h"

#include "database/IniLine.h"
#include "database/ValueText.h"

namespace report {

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
    const auto row = [&results](const QString& key, const QString& description,
                                const QString& value) {
        if (results.skipped.contains(key))
            return QStringLiteral("; no row: ") + results.skipped.value(key);
        return IniKey(description) + QLatin1Char('=') + value;
    };
    const ProcessorFigures& p = results.processor;
    QStringList lines{QStringLiteral("[Processor]")};
    if (p.scored || results.skipped.contains(QStringLiteral("cpu")))
        lines << row(QStringLiteral("cpu"), results.overview.processor,
                     QString::number(p.cpuScore) + QLatin1Char(',') + QString::number(p.fpuScore));
    else
        lines << QStringLiteral("; no row: no reference machine in base.ini to score against");
    lines << QStringLiteral("[Memory]")
          << row(QStringLiteral("memory"),
                 QStringLiteral("Ваши ") + ExtractField(results.overview.memory, 0) +
                     QStringLiteral(" Mb"),
                 QString::number(results.memory))
          << QStringLiteral("[Video]")
          << row(QStringLiteral("video"), results.overview.display, QString::number(results.video))
          << QStringLiteral("[Drive]");
    for (const DriveFigure& drive : results.drives)
        lines << row(drive.entry, drive.entry, QString::number(drive.kilobytesPerSecond));
    return lines;
}

} // namespace report
