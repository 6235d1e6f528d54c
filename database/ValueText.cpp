// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ValueText.h"

#include "database/DatabaseError.h"

#include <cstdint>

namespace {

bool IsSeparator(QChar c)
{
    return c == u' ' || c == u',' || c == u';';
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

qsizetype HexPrefixLength(QStringView text)
{
    if (text.startsWith(u'$') || text.startsWith(u'x') || text.startsWith(u'X'))
        return 1;
    if (text.startsWith(u"0x") || text.startsWith(u"0X"))
        return 2;
    return 0;
}

std::optional<int> ParseHex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t pattern = 0;
    for (QChar c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        pattern = pattern << 4 | std::uint32_t(digit);
    }
    return static_cast<int>(pattern);
}

std::optional<int> ParseDecimal(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty())
        return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

std::optional<int> ParseInteger(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.mid(1);
    if (const qsizetype prefix = HexPrefixLength(text))
        return ParseHex(text.mid(prefix));
    return ParseDecimal(text);
}

int TextToInteger(const QString& text)
{
    if (const auto value = ParseInteger(text))
        return *value;
    // A NUL would end the message where the user sees it.
    const QString shown = QString(text).replace(QChar(0), u' ');
    throw DatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(shown));
}

QString ExtractField(const QString& value, int n)
{
    bool inField = false;
    qsizetype fieldStart = 0;
    int fieldsEnded = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const bool separator = IsSeparator(value[i]);
        if (!inField) {
            if (!separator) {
                inField = true;
                fieldStart = i;
            }
        } else if (separator) {
            if (fieldsEnded == n)
                return value.mid(fieldStart, i - fieldStart);
            ++fieldsEnded;
            inField = false;
        }
    }
    return inField ? value.mid(fieldStart) : QString();
}
