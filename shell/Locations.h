// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where the program finds base.ini and its help document. A built or portable
// program keeps base.ini beside its executable; an installed one gives each
// user a copy in their configuration directory, seeded from the shipped file.

// How the database path was decided.
enum class DatabaseOrigin
{
    BesideExecutable, // a file beside the executable
    UserCopy,         // the user's copy, found as it was
    Seeded,           // the user's copy, made just now from the shipped file
    Shipped,          // the shipped file itself: no copy could be made
    Absent,           // nothing anywhere; the first write creates the user's copy
};

struct DatabaseLocation
{
    QString path;
    DatabaseOrigin origin = DatabaseOrigin::Absent;
};

// The database to use, in this order: <executableDir>/base.ini when anything
// is there (a directory or FIFO there is named by the read error); else <configDir>/base.ini when
// anything is there (never replaced); else a copy of <dataDir>/base.ini made there, its directory
// created; the shipped file itself when that copy cannot be made; <configDir>/base.ini when nothing
// is shipped.
DatabaseLocation LocateDatabase(const QString& executableDir, const QString& configDir,
                                const QString& dataDir);

// doc/help.htm against currentDir when it is there, else <dataDir>/help.htm
// when that is there, else the first.
QString LocateHelpDocument(const QString& currentDir, const QString& dataDir);

// The places LocateHelpDocument looks, in its order.
QStringList HelpDocumentPlaces(const QString& currentDir, const QString& dataDir);

// The directories of this process: its executable's, the user's
// configuration directory for the program ($XDG_CONFIG_HOME/quorvix), and
// the installed data (shipped base.ini, help), found relative to the executable.
struct ProgramDirs
{
    QString executableDir;
    QString configDir;
    QString dataDir;
};
ProgramDirs CurrentProgramDirs();

// Unsets the XDG base directories given as relative paths: they are invalid
// and to be ignored, where Qt would make folders under the current directory.
void IgnoreRelativeXdgDirectories();

// Where the program would find its files, one "name: path" line each, as
// LocateDatabase and LocateHelpDocument decide; nothing is created.
QStringList DescribeLocations(const ProgramDirs& dirs, const QString& currentDir);

// LocateDatabase for this process: seeds the user's copy on first start.
DatabaseLocation LocateProgramDatabase();

// The about box's note of the database in use.
QString DatabaseInUseText(const QString& path);
