// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ComparisonDatabase.h"

#include "database/IniEditor.h"
#include "database/IniFile.h"
#include "database/IniReader.h"
#include "database/ListSections.h"
#include "database/ValueText.h"

#include <utility>

ComparisonDatabase::ComparisonDatabase(QString path) : m_path(std::move(path)) {}

QString ComparisonDatabase::ReadText(const QString& section, const QString& key,
                                     const QString& defaultText) const
{
    const auto ini = LoadIniForReading(m_path);
    if (!ini)
        return defaultText;
    return ReadIniValue(ini->text, section, key).value_or(defaultText);
}

int ComparisonDatabase::ReadNumber(const QString& section, const QString& key,
                                   int defaultValue) const
{
    return ParseInteger(ReadText(section, key, QString())).value_or(defaultValue);
}

QStringList ComparisonDatabase::ListKeys(const QString& section) const
{
    const auto ini = LoadIniForReading(m_path);
    if (!ini)
        return {};
    return ListIniKeys(ini->text, section);
}

QList<DatabaseRow> ComparisonDatabase::ReadList(const QString& section) const
{
    QList<DatabaseRow> rows;
    const auto ini = LoadIniForReading(m_path);
    if (!ini)
        return rows;
    for (auto& [key, value] : ReadIniList(ini->text, section))
        rows.append({std::move(key), std::move(value)});
    return rows;
}

void ComparisonDatabase::WriteText(const QString& section, const QString& key, const QString& value)
{
    IniText ini = LoadIniForWriting(m_path);
    IniEditor editor(ini.text);
    editor.WriteText(section, key, value);
    ini.text = editor.Text();
    SaveIni(m_path, ini);
}

void ComparisonDatabase::RemoveSection(const QString& section)
{
    IniText ini = LoadIniForWriting(m_path);
    IniEditor editor(ini.text);
    if (!editor.RemoveSection(section))
        return;
    ini.text = editor.Text();
    SaveIni(m_path, ini);
}

void ComparisonDatabase::ReplaceLists(const DatabaseLists& lists)
{
    IniText ini = LoadIniForWriting(m_path);
    IniEditor editor(ini.text);
    if (!ReplaceListSections(editor, lists))
        return;
    ini.text = editor.Text();
    SaveIni(m_path, ini);
}
