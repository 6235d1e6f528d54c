// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// One line of an INI file as Windows reads it: trimmed of blanks and control
// characters, then a section header, an entry (key=value), or anything else
// (blank, comment, a line without '='), which is kept but never read.
enum class IniLineKind
{
    Other,
    Section,
    Entry,
};

struct IniLine
{
    IniLineKind kind = IniLineKind::Other;
    QStringView name;  // section name or key, trimmed
    QStringView value; // entries only, trimmed
};

bool IsIniBlank(QChar c);
QStringView TrimIni(QStringView text);
IniLine ParseIniLine(QStringView line);
bool SameIniName(QStringView a, QStringView b);

// A name or value may not break its line: line breaks become blanks.
QString OneIniLine(QStringView text);
// A section or key name as it is looked up and written: one line, trimmed.
QString CleanIniName(QStringView name);

// Walks the lines of a text. A line ends at LF, CR LF or CR; the last line may
// have no ending. An empty text has no lines.
class IniLineCursor
{
public:
    explicit IniLineCursor(QStringView text) : m_text(text) {}

    bool next();
    QStringView line() const { return m_text.mid(m_start, m_length); }
    QStringView ending() const { return m_text.mid(m_start + m_length, m_endingLength); }
    qsizetype start() const { return m_start; }

private:
    QStringView m_text;
    qsizetype m_start = 0;
    qsizetype m_length = 0;
    qsizetype m_endingLength = 0;
    bool m_started = false;
};
