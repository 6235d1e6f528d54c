// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Anonymous.h"

#include "platform/Identity.h"
#include "results/DriveInsight.h"
#include "session/FileNames.h"
#include "session/FullRun.h"

#include <QRegularExpression>

#include <algorithm>

namespace report {
namespace {

// A home folder of "/" or a relative one would match every path.
bool usableHome(const QString& home)
{
    return home.startsWith(QLatin1Char('/')) && home.size() > 1;
}

QString withoutHomes(QString text, const QStringList& homes)
{
    for (const QString& home : homes) {
        const QString pattern = QStringLiteral("(^|[\\s'\"(=:])%1(?=/|$|[\\s'\")])")
                                    .arg(QRegularExpression::escape(home));
        text.replace(QRegularExpression(pattern), QStringLiteral("\\1/") + kAnonymousWord);
    }
    return text;
}

QString withoutNames(QString text, const QStringList& names)
{
    for (const QString& name : names) {
        // Only as a whole component of a path.
        const QString pattern =
            QStringLiteral("(?<=/)%1(?=/|$|[\\s'\")])").arg(QRegularExpression::escape(name));
        text.replace(QRegularExpression(pattern), kAnonymousWord);
    }
    return text;
}

} // namespace

QString Anonymiser::apply(const QString& text) const
{
    return withoutNames(withoutHomes(text, homes), names);
}

void Anonymiser::add(const Anonymiser& other)
{
    for (const QString& name : other.names)
        if (!name.isEmpty() && name != kAnonymousWord && !names.contains(name))
            names << name;
    for (QString home : other.homes) {
        while (home.size() > 1 && home.endsWith(QLatin1Char('/')))
            home.chop(1);
        if (usableHome(home) && !homes.contains(home))
            homes << home;
    }
}

Anonymiser ThisMachineAnonymiser()
{
    Anonymiser machine;
    machine.add({{FileNameText(QByteArray::fromStdString(platform::ComputerName())),
                  FileNameText(QByteArray::fromStdString(platform::UserName()))},
                 {EnvironmentFileName("HOME"),
                  FileNameText(QByteArray::fromStdString(platform::HomeFolder()))}});
    return machine;
}

void Anonymise(AllTestsResults& results, const Anonymiser& anonymiser)
{
    sysinfo::OverviewFields& overview = results.overview;
    overview.computerName = kAnonymousWord;
    overview.userName = kAnonymousWord;
    for (QString* text : {&overview.processor, &overview.memory, &overview.display,
                          &overview.monitor, &overview.cdrom, &overview.mouse, &overview.hdd})
        *text = anonymiser.apply(*text);
    if (overview.os)
        overview.os = anonymiser.apply(*overview.os);
    for (DriveFigure& drive : results.drives)
        drive.entry = anonymiser.apply(drive.entry);
    for (QString& reason : results.skipped)
        reason = anonymiser.apply(reason);
}

void Anonymise(QList<DriveInsight>& drives, const Anonymiser& anonymiser)
{
    const auto clean = [&anonymiser](const std::string& text) {
        return FileNameBytes(anonymiser.apply(FileNameText(QByteArray::fromStdString(text))))
            .toStdString();
    };
    for (DriveInsight& drive : drives) {
        drive.mountPoint = FileNameBytes(anonymiser.apply(FileNameText(drive.mountPoint)));
        bench::DriveContextFigures& figures = drive.figures;
        for (std::string* text :
             {&figures.directory, &figures.cached, &figures.fallback, &figures.skipped})
            *text = clean(*text);
        for (bench::DriveJobFigure& job : figures.jobs)
            job.contradiction = clean(job.contradiction);
    }
}

QStringList AnonymousLog(QStringList lines, bool anonymous, const Anonymiser& anonymiser)
{
    if (!anonymous)
        return lines;
    // The log's two name lines, as ResultsLog composes them.
    const QStringList nameLines{QStringLiteral("Comp name : "), QStringLiteral("User name : ")};
    for (QString& line : lines) {
        const auto named =
            std::find_if(nameLines.cbegin(), nameLines.cend(),
                         [&line](const QString& head) { return line.startsWith(head); });
        line = named != nameLines.cend() ? *named + kAnonymousWord : anonymiser.apply(line);
    }
    return lines;
}

} // namespace report
