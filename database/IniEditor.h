// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/IniLine.h"

#include <QHashFunctions>
#include <QString>
#include <QStringView>

#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

// Changes an INI text the way Windows writes private-profile files: only the
// lines a change concerns are touched, every other byte stays as it was.
//
// The editor remembers the section it last wrote to (its key index and where
// new keys go), so that a run of writes to one section costs time linear in
// the size of the text, however many keys it writes.
class IniEditor
{
public:
    explicit IniEditor(QStringView text);

    // Removes the header of the first section called `section` and every line
    // up to the next header. False when there is no such section.
    bool RemoveSection(QStringView section);

    // Sets the key's line to "key=value", the key spelt as the file spells it
    // and the value without its leading blanks. A new key goes after the last
    // entry of the first section of that name; a new section goes at the end.
    void WriteText(QStringView section, QStringView key, QStringView value);

    // Adds "key=value" after the last entry of the section even when a key of
    // that name (in any case) is there: rewriting a whole list must keep
    // every row, "CPU" and "cpu" alike.
    void AppendEntry(QStringView section, QStringView key, QStringView value);

    QString Text() const;

private:
    struct Line
    {
        QString content;
        QString ending;
        IniLineKind kind = IniLineKind::Other;
        QString name;
    };
    using LineIt = std::list<Line>::iterator;

    // The section being written: its header, the line new keys follow, its
    // entries in file order and the first line of each key.
    struct Target
    {
        QString name;
        LineIt header;
        LineIt anchor;
        std::vector<LineIt> entries;
        std::unordered_map<QString, LineIt> keys;
    };

    static Line MakeLine(QString content, QString ending);
    QString LineEnding() const;
    Target& TargetFor(const QString& section);
    LineIt FindSection(const QString& section);
    LineIt AppendSection(const QString& section);
    void ReplaceEntry(Target& target, LineIt line, const QString& content);
    void InsertEntry(Target& target, const QString& content);

    std::list<Line> m_lines;
    std::optional<Target> m_target;
};
