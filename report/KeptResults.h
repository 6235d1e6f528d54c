// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/Environment.h"
#include "session/FullRun.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace report {

class Session;

// Why a figure the window has not measured is missing from kept results.
inline const QString kNotMeasuredInWindow = QStringLiteral("not measured in the window");

// The window's latest results as one run: the last all-tests run where there
// was one, with what the pages measured since in its place (the processor
// scores and counts, the comparative memory figure, the video figure, the
// selected drive's speed). A figure neither measured is skipped.
AllTestsResults LatestResults(const Session& session,
                              const std::optional<AllTestsResults>& lastRun);

// Whether `run` holds any figure that was measured.
bool HasMeasured(const AllTestsResults& run);

// The environment of results measured now, and the warnings a report run
// would give for it.
struct KeptEnvironment
{
    RunEnvironment environment;
    QStringList warnings;
};
KeptEnvironment ReadKeptEnvironment(const EnvironmentSources& sources = {});

// The JSON document --save writes, for one run measured at `time`.
QByteArray KeptResultJson(const Session& session, const AllTestsResults& run, const QDateTime& time,
                          const KeptEnvironment& kept);

// Saves the run into `directory` as --save does; returns the file's path.
// Raises SaveError when it cannot be written.
QString KeepResults(const QString& directory, const Session& session, const AllTestsResults& run,
                    const QDateTime& time, const KeptEnvironment& kept);

} // namespace report
