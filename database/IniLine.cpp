// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/IniLine.h"

bool IsIniBlank(QChar c)
{
    return c.unicode() <= 0x20 || c.unicode() == 0x7F;
}

QStringView TrimIni(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsIniBlank(text[begin]))
        ++begin;
    while (end > begin && IsIniBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

IniLine ParseIniLine(QStringView line)
{
    const QStringView trimmed = TrimIni(line);
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.lastIndexOf(u']');
        if (close > 0)
            return {IniLineKind::Section, TrimIni(trimmed.mid(1, close - 1)), {}};
    }
    if (trimmed.startsWith(u';'))
        return {};
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0)
        return {};
    return {IniLineKind::Entry, TrimIni(trimmed.first(equals)), TrimIni(trimmed.mid(equals + 1))};
}

bool SameIniName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IniLineCursor::next()
{
    qsizetype position = m_started ? m_start + m_length + m_endingLength : 0;
    m_started = true;
    if (position >= m_text.size())
        return false;
    m_start = position;
    while (position < m_text.size() && m_text[position] != u'\n' && m_text[position] != u'\r')
        ++position;
    m_length = position - m_start;
    m_endingLength = 0;
    if (position < m_text.size()) {
        const bool crlf = m_text[position] == u'\r' && position + 1 < m_text.size() &&
                          m_text[position + 1] == u'\n';
        m_endingLength = crlf ? 2 : 1;
    }
    return true;
}

QString OneIniLine(QStringView text)
{
    QString line = text.toString();
    for (QChar& c : line) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return line;
}

QString CleanIniName(QStringView name)
{
    return TrimIni(OneIniLine(name)).toString();
}
