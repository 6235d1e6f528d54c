// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/DriveContext.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>

#include <functional>
#include <string>

namespace report {

struct SavedFigure;

// One tested drive's figures in context, by its mount point.
struct DriveInsight
{
    QByteArray mountPoint;
    bench::DriveContextFigures figures;
};

// What measures a drive by its mount point; the default finds the disk
// test's directory there and measures it.
using DriveContextKernel = std::function<bench::DriveContextFigures(const std::string&)>;
DriveContextKernel RealDriveContext();

// Each of `mountPoints` measured in turn; a drive that fails is skipped with
// the error as its reason, the others still measured.
QList<DriveInsight> MeasureDriveInsights(const DriveContextKernel& kernel,
                                         const QList<QByteArray>& mountPoints);

// The drives of several runs as one: each figure the median of the runs
// that measured it, with every run's IOPS, so that --compare has a spread.
// A figure one run flagged stays flagged: a cache that answered once may
// answer again. A drive skipped in every run keeps the last reason.
QList<DriveInsight> MedianDriveInsights(const QList<QList<DriveInsight>>& runs);

// The "drives" member of the JSON context: a figure that contradicts another
// has null values and its reason under "unreliable".
QJsonArray DriveInsightJson(const QList<DriveInsight>& drives);
QStringList DriveInsightText(const QList<DriveInsight>& drives);
// Warnings for the report: skipped drives, flagged figures, io_uring refused.
QStringList DriveInsightWarnings(const QList<DriveInsight>& drives);

// The drives' figures of a saved result's context for --compare: each
// job's IOPS, named "Drive <mount point> <job>", with the runs' IOPS where
// the file has them (older files: none, so no verdict beyond the change);
// flagged figures left out.
QList<SavedFigure> DriveInsightFigures(const QJsonObject& insight);

} // namespace report
