// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/JsonReport.h"
#include "results/SavedResult.h"

#include <QJsonDocument>
#include <QJsonObject>

// A result as the report saves it: runs whose memory figures are `memory`,
// every other figure steady, on a quiet machine.
inline QJsonObject SavedDocument(const QList<int>& memory)
{
    report::ReportDocument document;
    document.program = report::kProgramName;
    document.version = "1.03";
    document.time = QDateTime({2026, 12, 7}, {15, 20, 31}, Qt::UTC);
    document.reference = {400, 200, 300, {}, {}, {}};
    sysinfo::OverviewFields overview;
    overview.processor = "Test CPU";
    overview.computerName = "testhost";
    for (const int value : memory)
        document.runs << report::AllTestsResults{overview, {450, 600, 450, 300, true}, value,
                                                 700,      {{"Drive /", 80000}},       {}};
    document.environment.processor = "Fake CPU";
    document.environment.governor = "performance";
    document.environment.loadAverage = 0.1;
    document.environment.priority = platform::ObtainedPriority::RealTime;
    return report::ReportJson(document).object();
}

// Sets the member at a dotted path; an undefined value removes it.
inline void SetMember(QJsonObject& object, const QString& path, const QJsonValue& value)
{
    const QString key = path.section('.', 0, 0);
    if (key != path) {
        QJsonObject inner = object.value(key).toObject();
        SetMember(inner, path.section('.', 1), value);
        object.insert(key, inner);
    } else if (value.isUndefined()) {
        object.remove(key);
    } else {
        object.insert(key, value);
    }
}

inline report::SavedResult Read(const QJsonObject& object, const QString& source = "saved.json")
{
    return report::ReadSavedResult(QJsonDocument(object).toJson(), source);
}
