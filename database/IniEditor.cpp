// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/IniEditor.h"

namespace {

QString CleanValue(QStringView value)
{
    const QString line = OneIniLine(value);
    qsizetype begin = 0;
    while (begin < line.size() && IsIniBlank(line[begin]))
        ++begin;
    return line.mid(begin);
}

} // namespace

IniEditor::IniEditor(QStringView text)
{
    IniLineCursor cursor(text);
    while (cursor.next())
        m_lines.push_back(MakeLine(cursor.line().toString(), cursor.ending().toString()));
}

IniEditor::Line IniEditor::MakeLine(QString content, QString ending)
{
    const IniLine parsed = ParseIniLine(content);
    QString name = parsed.name.toString(); // parsed.name looks into content
    return {std::move(content), std::move(ending), parsed.kind, std::move(name)};
}

QString IniEditor::LineEnding() const
{
    if (m_lines.empty() || m_lines.front().ending.isEmpty())
        return QStringLiteral("\n");
    return m_lines.front().ending;
}

IniEditor::LineIt IniEditor::FindSection(const QString& section)
{
    for (auto it = m_lines.begin(); it != m_lines.end(); ++it) {
        if (it->kind == IniLineKind::Section && SameIniName(it->name, section))
            return it;
    }
    return m_lines.end();
}

bool IniEditor::RemoveSection(QStringView section)
{
    const auto header = FindSection(CleanIniName(section));
    if (header == m_lines.end())
        return false;
    auto end = std::next(header);
    while (end != m_lines.end() && end->kind != IniLineKind::Section)
        ++end;
    m_lines.erase(header, end);
    m_target.reset();
    return true;
}

IniEditor::LineIt IniEditor::AppendSection(const QString& section)
{
    const QString ending = LineEnding();
    if (!m_lines.empty() && m_lines.back().ending.isEmpty())
        m_lines.back().ending = ending;
    m_lines.push_back(MakeLine(u'[' + section + u']', ending));
    return std::prev(m_lines.end());
}

IniEditor::Target& IniEditor::TargetFor(const QString& section)
{
    if (m_target && SameIniName(m_target->name, section))
        return *m_target;
    LineIt header = FindSection(section);
    if (header == m_lines.end())
        header = AppendSection(section);
    Target& target = m_target.emplace(Target{section, header, header, {}, {}});
    for (auto it = std::next(header); it != m_lines.end() && it->kind != IniLineKind::Section;
         ++it) {
        if (it->kind != IniLineKind::Entry)
            continue;
        target.entries.push_back(it);
        target.keys.try_emplace(it->name.toCaseFolded(), it);
        target.anchor = it;
    }
    return target;
}

void IniEditor::WriteText(QStringView section, QStringView key, QStringView value)
{
    Target& target = TargetFor(CleanIniName(section));
    const QString name = CleanIniName(key);
    const QString tail = u'=' + CleanValue(value);
    const auto found = target.keys.find(name.toCaseFolded());
    if (found != target.keys.end())
        ReplaceEntry(target, found->second, found->second->name + tail);
    else
        InsertEntry(target, name + tail);
}

void IniEditor::AppendEntry(QStringView section, QStringView key, QStringView value)
{
    Target& target = TargetFor(CleanIniName(section));
    InsertEntry(target, CleanIniName(key) + u'=' + CleanValue(value));
}

void IniEditor::ReplaceEntry(Target& target, LineIt line, const QString& content)
{
    const QString key = line->name.toCaseFolded();
    *line = MakeLine(content, line->ending);
    if (line->kind == IniLineKind::Entry)
        return;
    // A key that starts with '[' and a value holding ']' make a section
    // header: the entries from here on belong to that new section.
    target.keys.erase(key);
    while (target.entries.back() != line) {
        const LineIt popped = target.entries.back();
        target.entries.pop_back();
        const auto slot = target.keys.find(popped->name.toCaseFolded());
        if (slot != target.keys.end() && slot->second == popped)
            target.keys.erase(slot);
    }
    target.entries.pop_back();
    target.anchor = target.entries.empty() ? target.header : target.entries.back();
}

void IniEditor::InsertEntry(Target& target, const QString& content)
{
    const QString ending = LineEnding();
    if (target.anchor->ending.isEmpty())
        target.anchor->ending = ending;
    const LineIt line = m_lines.insert(std::next(target.anchor), MakeLine(content, ending));
    // In a file whose lines end in CR, the new CR and an empty line ending in
    // LF after it make one CR LF, as the file reads from now on.
    const LineIt after = std::next(line);
    if (line->ending == u"\r" && after != m_lines.end() && after->content.isEmpty() &&
        after->ending == u"\n") {
        line->ending = QStringLiteral("\r\n");
        m_lines.erase(after);
    }
    if (line->kind != IniLineKind::Entry)
        return;
    target.entries.push_back(line);
    target.keys.try_emplace(line->name.toCaseFolded(), line);
    target.anchor = line;
}

QString IniEditor::Text() const
{
    qsizetype size = 0;
    for (const Line& line : m_lines)
        size += line.content.size() + line.ending.size();
    QString text;
    text.reserve(size);
    for (const Line& line : m_lines) {
        text += line.content;
        text += line.ending;
    }
    return text;
}
