// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/DatabaseError.h"
#include "database/ValueText.h"

#include <QList>
#include <QString>
#include <QStringList>

// One row of a list section as the editor writes it back: key = value.
struct DatabaseRow
{
    QString key;
    QString value;
};

// The four list sections in the order the editor writes them.
struct DatabaseLists
{
    QList<DatabaseRow> processor;
    QList<DatabaseRow> memory;
    QList<DatabaseRow> video;
    QList<DatabaseRow> drive;
};

// The comparison database: an INI file read and written with Windows
// private-profile semantics. Holds only the path; every call goes to the file
// at the moment it is made.
//
// Reads see a missing or unreadable file (or a directory or device in its
// place) as an empty database; a read never blocks, and a file above 16 MB
// raises "Unable to read <full path>: the file is larger than 16 MB". Text is
// UTF-8; a file that is not valid UTF-8 is read as Windows-1251. Every change
// rewrites the whole file in UTF-8 and replaces it in one step, so a failed
// or short write leaves the old file whole; it raises "Unable to write to
// <full path>", also where a file is there that cannot be read.
class ComparisonDatabase
{
public:
    explicit ComparisonDatabase(QString path);

    const QString& path() const { return m_path; }

    // The value, without enclosing quotes, up to 2,047 characters.
    QString ReadText(const QString& section, const QString& key, const QString& defaultText) const;
    // The value by TextToInteger; the default where that fails.
    int ReadNumber(const QString& section, const QString& key, int defaultValue) const;
    // Key names in file order, as many as fit 16,384 bytes with each name in
    // UTF-8 followed by a zero byte, plus one final zero byte.
    QStringList ListKeys(const QString& section) const;
    // Every key of the section in file order, each with the value ReadText
    // gives it, from one reading of the file. Not cut at 16,384 bytes as
    // ListKeys is: the editor writes back what it reads, and must not drop
    // the rows that such a list leaves out.
    QList<DatabaseRow> ReadList(const QString& section) const;
    // Why the file, though it is there, reads as an empty database ("base.ini
    // cannot be read: Permission denied"); empty when it is missing or readable.
    QString ReadProblem() const;
    void WriteText(const QString& section, const QString& key, const QString& value);
    // Writes nothing when the section is not there.
    void RemoveSection(const QString& section);

    // Replaces the sections Processor, Memory, Video and Drive with the given
    // rows in one atomic replacement of the file: the same bytes as
    // RemoveSection of the four and then WriteText for each row in order,
    // except that every row keeps a line of its own, also where two keys
    // differ only in case (WriteText would make them one line and lose a row).
    void ReplaceLists(const DatabaseLists& lists);

private:
    QString m_path;
};
