// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/IniReader.h"

#include "database/IniLine.h"

#include <QHashFunctions>

#include <unordered_map>

namespace {

// Moves the cursor onto the header of the first section called `section`.
bool FindSection(IniLineCursor& cursor, QStringView section)
{
    const QString wanted = CleanIniName(section);
    while (cursor.next()) {
        const IniLine line = ParseIniLine(cursor.line());
        if (line.kind == IniLineKind::Section && SameIniName(line.name, wanted))
            return true;
    }
    return false;
}

QStringView Unquote(QStringView value)
{
    if (value.size() > 1 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QStringView CutToCharacters(QStringView value, qsizetype characters)
{
    qsizetype position = 0;
    for (qsizetype count = 0; count < characters && position < value.size(); ++count) {
        const bool pair = value[position].isHighSurrogate() && position + 1 < value.size() &&
                          value[position + 1].isLowSurrogate();
        position += pair ? 2 : 1;
    }
    return value.first(position);
}

QString ValueText(QStringView value)
{
    return CutToCharacters(Unquote(value), kMaxValueCharacters).toString();
}

// Adds the name's bytes in the key list; false when the name does not fit.
bool FitsKeyList(qsizetype& used, QStringView name)
{
    const qsizetype bytes = name.toUtf8().size() + 1;
    if (used + bytes > kKeyListBytes)
        return false;
    used += bytes;
    return true;
}

} // namespace

std::optional<QString> ReadIniValue(QStringView text, QStringView section, QStringView key)
{
    IniLineCursor cursor(text);
    if (!FindSection(cursor, section))
        return std::nullopt;
    const QString wanted = CleanIniName(key);
    while (cursor.next()) {
        const IniLine line = ParseIniLine(cursor.line());
        if (line.kind == IniLineKind::Section)
            break;
        if (line.kind == IniLineKind::Entry && SameIniName(line.name, wanted))
            return ValueText(line.value);
    }
    return std::nullopt;
}

QStringList ListIniKeys(QStringView text, QStringView section)
{
    QStringList keys;
    IniLineCursor cursor(text);
    if (!FindSection(cursor, section))
        return keys;
    qsizetype used = 1; // the zero byte that ends the list
    while (cursor.next()) {
        const IniLine line = ParseIniLine(cursor.line());
        if (line.kind == IniLineKind::Section)
            break;
        if (line.kind != IniLineKind::Entry)
            continue;
        if (!FitsKeyList(used, line.name))
            break;
        keys.append(line.name.toString());
    }
    return keys;
}

QList<std::pair<QString, QString>> ReadIniList(QStringView text, QStringView section)
{
    QList<std::pair<QString, QString>> rows;
    IniLineCursor cursor(text);
    if (!FindSection(cursor, section))
        return rows;
    // A key reads the value of the first entry of its name, which stands at
    // or before it.
    std::unordered_map<QString, QString> firstValues;
    while (cursor.next()) {
        const IniLine line = ParseIniLine(cursor.line());
        if (line.kind == IniLineKind::Section)
            break;
        if (line.kind != IniLineKind::Entry)
            continue;
        const QString name = line.name.toString();
        const auto first = firstValues.try_emplace(name.toCaseFolded(), ValueText(line.value));
        rows.append({name, first.first->second});
    }
    return rows;
}
