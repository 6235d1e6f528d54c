// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/ReferenceMachine.h"
#include "database/ComparisonDatabase.h"
#include "database/ListKinds.h"
#include "report/Anonymous.h"
#include "report/CommandLine.h"

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

namespace report {

// A reference row made from a saved result or taken from another base.ini.
struct ReferenceRow
{
    ListKind kind = lkProcessor;
    QString description;
    QString value; // as the file holds it: "CPU,FPU" or one number
};

// How rows are made from a file.
struct ReferenceRules
{
    bench::ReferenceMachine target; // DATA of the database the rows go to
    QString version;                // this program's; a result of another is refused
    bool force = false;             // take other versions and video methods all the same
    Anonymiser anonymiser;          // leaves private names out; inactive: names stay
};

// The rows one file gives, and why the others were not made.
struct ReferenceFile
{
    QList<ReferenceRow> rows;
    QStringList notes; // "no Video row: ..."
};

// Reads a saved result (the report's JSON) or another base.ini. Raises
// ResultFileError naming the file for anything else: missing, not a regular
// file, larger than 16 MiB, broken, foreign, or refused by the rules.
ReferenceFile ReadReferenceFile(const QString& fileName, const ReferenceRules& rules);

// What adding rows to lists gives: the rows new to them, each with a
// description no present row has, and one line per row added or skipped.
struct ReferenceMerge
{
    DatabaseLists added;
    QStringList lines;
    int addedCount = 0;
};

// A row whose description and value are already there is skipped; one
// whose description is there with another value gets " (2)", " (3)" ...
// Descriptions match as base.ini keys do, without regard to case.
ReferenceMerge MergeReferenceRows(const DatabaseLists& present, const QList<ReferenceRow>& rows);

// The rows that `files` add to `present`, read as --add-reference reads
// them (without --force) and scored against `target`: what files dropped on
// the Database window add. Raises ResultFileError for a file it cannot take.
DatabaseLists RowsToAdd(const QStringList& files, const DatabaseLists& present,
                        const bench::ReferenceMachine& target);

// --add-reference: reads every file first (none is added when one cannot
// be), then adds the new rows after the present ones in one replacement of
// the database, DATA untouched. Returns 0, or kExitUnusableResult with the
// reason on `err` for a file it cannot take or a database that is missing,
// unreadable or without the DATA the scores need (nothing is written then),
// or 1 when the database cannot be written.
int RunAddReference(const AddReferenceOptions& options, const QString& databasePath, QIODevice& out,
                    QIODevice& err);

} // namespace report
