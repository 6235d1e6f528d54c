// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The four lists of reference machines in base.ini, in the order they are
// written; the number is also the index of the editor page that shows it.
enum ListKind
{
    lkProcessor = 0,
    lkMemory = 1,
    lkVideo = 2,
    lkHdd = 3,
};
constexpr int ListKindCount = 4;

// What a list looks like: its section in base.ini, how many values a row
// holds (separated by commas in the file) and their captions, which are also
// the editor's column headings and labels. A single-value list has an empty
// second caption.
struct ListShape
{
    QString section;
    int valueCount;
    QString firstCaption;
    QString secondCaption;
};

const ListShape& ShapeOf(ListKind kind);
bool HasTwoValues(ListKind kind);

// The description of this machine's own row, from its overview text: the
// processor, display adapter and drive texts as they are; for memory
// "Ваши <size> Mb" with the size taken from "<size> Mb (used <n>%)".
QString OwnRowDescription(ListKind kind, const QString& overviewText);

// A row's value as the file holds it: the first value, and for a list of two
// values a comma and the second. Nothing trimmed or converted.
QString RowValue(ListKind kind, const QString& first, const QString& second);
