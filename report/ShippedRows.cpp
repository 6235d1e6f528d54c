// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ShippedRows.h"

#include "results/SavedResult.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace report {

QString MeasuredMachine(const QString& fileName)
{
    const QByteArray bytes = ReadResultFile(fileName).first;
    const SavedResult result = ReadSavedResult(bytes, fileName); // refuses foreign and broken
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    const QJsonValue threads =
        root.value("insight").toObject().value("allCore").toObject().value("threads");
    const QJsonValue hypervisor = root.value("environment").toObject().value("hypervisor");
    if (!threads.isDouble() || threads.toInt() < 1)
        throw ResultFileError(QStringLiteral("%1: does not say how many CPUs ran (saved with "
                                             "--no-context?)")
                                  .arg(fileName));
    if (!hypervisor.isBool())
        throw ResultFileError(
            QStringLiteral("%1: does not say whether a hypervisor was there").arg(fileName));
    return QStringLiteral("%1 CPU%2, %3, quorvix %4")
        .arg(threads.toInt())
        .arg(threads.toInt() == 1 ? "" : "s")
        .arg(hypervisor.toBool() ? QStringLiteral("virtual") : QStringLiteral("bare metal"),
             result.version);
}

QStringList ShippedRows(const QString& fileName, const bench::ReferenceMachine& target)
{
    const QString machine = MeasuredMachine(fileName);
    ReferenceRules rules;
    rules.target = target;
    rules.version = ProgramVersion();
    const ReferenceFile file = ReadReferenceFile(fileName, rules);
    QStringList lines;
    for (const QString& note : file.notes)
        lines << QStringLiteral("; ") + note;
    for (int k = 0; k < ListKindCount; ++k) {
        lines << QLatin1Char('[') + ShapeOf(ListKind(k)).section + QLatin1Char(']');
        for (const ReferenceRow& row : file.rows)
            if (row.kind == ListKind(k))
                lines << row.description + QStringLiteral(" (") + machine + QStringLiteral(")=") +
                             row.value;
    }
    return lines;
}

} // namespace report
