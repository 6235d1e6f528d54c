// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/ListKinds.h"
#include "database/MachineValues.h"

#include <QCollator>
#include <QList>
#include <QString>

#include <array>

class ComparisonDatabase;
struct DatabaseLists;
struct DatabaseRow;

// One row: the description (the key in the file) and its value texts, as
// loaded or typed; `second` only for the Processor list.
struct EditorRow
{
    QString description;
    QString first;
    QString second;

    bool operator==(const EditorRow&) const = default;
};
using EditorList = QList<EditorRow>;
using EditorLists = std::array<EditorList, ListKindCount>;

// A list as the file holds it: each key of its section in file order with
// the value ReadText gives it; a Processor value split into fields 0 and 1.
EditorList LoadEditorList(const ComparisonDatabase& database, ListKind kind);

// The same from rows as the file holds them.
EditorList EditorRowsFrom(ListKind kind, const QList<DatabaseRow>& entries);

// A new row: this machine's description and own-bar values, "0" for a
// chart that holds no bars.
EditorRow NewEditorRow(ListKind kind, const MachineValues& machine);

// How descriptions are ordered: as the user's locale compares text,
// case-sensitive.
QCollator DescriptionCollator();

// The rows as they go back to the file: Processor as CPU + "," + FPU, the
// others as their single value; nothing trimmed or converted.
DatabaseLists ListsToWrite(const EditorLists& lists);

// Replaces the four list sections with the lists in one step; on failure
// raises "Unable to write to <full path>" and leaves the file as it was.
void WriteEditorLists(ComparisonDatabase& database, const EditorLists& lists);
