// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace report {

struct AllTestsResults;
struct DriveInsight;

// What stands for a private name in an anonymous result.
inline const QString kAnonymousWord = QStringLiteral("anonymous");

// Leaves the computer name, the user name and home folders out of texts. A
// home folder is replaced where a path begins with it ("/home/alice/data"
// becomes "/anonymous/data"); a name where it is a whole component of a path
// ("/media/alice" becomes "/media/anonymous"). Names are not looked for in
// prose: a host called "debian" must not change the operating system's line.
struct Anonymiser
{
    QStringList names; // computer and user names
    QStringList homes; // home-folder paths, absolute

    bool active() const { return !names.isEmpty() || !homes.isEmpty(); }
    QString apply(const QString& text) const;
    void add(const Anonymiser& other);
};

// The names of this machine and user: the host name, the login name, $HOME
// and the password database's home folder.
Anonymiser ThisMachineAnonymiser();

// The run's overview names become kAnonymousWord, and every text the log,
// the JSON or the rows show (drive entries, the overview, skip reasons)
// loses the private names.
void Anonymise(AllTestsResults& results, const Anonymiser& anonymiser);

// The drives' context without private names in their mount points, scratch
// folders and reasons; measure first, since the paths name real folders.
void Anonymise(QList<DriveInsight>& drives, const Anonymiser& anonymiser);

// A log the session wrote, its name lines made anonymous and the rest
// cleaned by `anonymiser`; as it is when `anonymous` is false.
QStringList AnonymousLog(QStringList lines, bool anonymous, const Anonymiser& anonymiser);

} // namespace report
