// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace report {

// Where saved results are kept: $XDG_DATA_HOME/quorvix/results, or
// $HOME/.local/share/quorvix/results when XDG_DATA_HOME is unset, empty or
// relative (a relative one is invalid and ignored). Empty when HOME is not
// absolute either.
QString ResultsDirectory(const QString& xdgDataHome, const QString& home);
// The same from this process's environment, every byte kept.
QString ResultsDirectory();

// "20261207T152031Z.json": the UTC time of the run, ISO 8601 basic form, so
// that the names sort by time.
QString ResultFileName(const QDateTime& time);

// Saves `bytes` as a new file named by `time` in `directory`, which is
// created (owner only) when missing; a name already taken, also by a save
// running at the same time or by a symbolic link, gets "-2", "-3" ... before
// ".json". Nothing is ever replaced. The file appears whole or not at all.
// Returns its path; raises SaveError when it cannot be written. Paths are
// text as FileNameText makes it.
QString SaveResult(const QString& directory, const QDateTime& time, const QByteArray& bytes);

// The saved result files in `directory`, oldest first; other files are left
// out.
QStringList KeptResults(const QString& directory);

} // namespace report
