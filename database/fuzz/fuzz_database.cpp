// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the reader and the editor as a base.ini, and
// checks what must hold for any file:
//  - decoding and re-encoding a UTF-8 file gives its bytes back;
//  - parsing and rendering a text without a change gives it back;
//  - a value just written reads back (for names that can stand in a file);
//  - replacing the lists in one editor equals the remove-and-append sequence
//    with the text parsed afresh before each step (every row keeps a line of
//    its own, keys that differ only in case included);
//  - reading a list in one pass begins with the listed keys and their values;
//  - TextToInteger fails exactly where ParseInteger has no value.
// The first input byte picks field numbers; the rest is the file.

#include "database/ComparisonDatabase.h"
#include "database/IniEditor.h"
#include "database/IniEncoding.h"
#include "database/IniLine.h"
#include "database/IniReader.h"
#include "database/ListSections.h"
#include "database/ValueText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckInteger(const QString& text)
{
    const auto parsed = ParseInteger(text);
    try {
        const int value = TextToInteger(text);
        Check(parsed && value == *parsed);
    } catch (const DatabaseError&) {
        Check(!parsed);
    }
}

QStringList SectionNames(QStringView text)
{
    QStringList names;
    IniLineCursor cursor(text);
    while (cursor.next() && names.size() < 8) {
        const IniLine line = ParseIniLine(cursor.line());
        if (line.kind == IniLineKind::Section)
            names.append(line.name.toString());
    }
    return names;
}

void ReadEverything(const QString& text, int n)
{
    for (const QString& section : SectionNames(text)) {
        const QStringList keys = ListIniKeys(text, section);
        const auto list = ReadIniList(text, section);
        Check(list.size() >= keys.size());
        for (qsizetype i = 0; i < keys.size() && i < 32; ++i) {
            const auto value = ReadIniValue(text, section, keys[i]);
            Check(value.has_value() && value->size() <= 2 * kMaxValueCharacters);
            Check(list[i].first == keys[i] && list[i].second == *value);
            ExtractField(*value, n);
            CheckInteger(*value);
        }
    }
}

// Rows for the four lists from the text's own lines, so that keys collide
// with what the file holds, odd names included.
DatabaseLists RowsFrom(const QString& text, int n)
{
    DatabaseLists lists;
    QList<DatabaseRow>* targets[] = {&lists.processor, &lists.memory, &lists.video, &lists.drive};
    IniLineCursor cursor(text);
    for (int row = 0; cursor.next() && row < 24; ++row) {
        const QStringView line = cursor.line();
        const qsizetype cut = line.size() / 2;
        targets[(row + n) % 4]->append({line.first(cut).toString(), line.mid(cut).toString()});
    }
    return lists;
}

QString RemoveThenAppend(QString text, const DatabaseLists& lists)
{
    const auto sections = ListSections(lists);
    for (const auto& [name, rows] : sections) {
        IniEditor editor(text);
        editor.RemoveSection(name);
        text = editor.Text();
    }
    for (const auto& [name, rows] : sections) {
        for (const DatabaseRow& row : *rows) {
            IniEditor editor(text);
            editor.AppendEntry(name, row.key, row.value);
            text = editor.Text();
        }
    }
    return text;
}

void CheckWriteReadsBack(const QString& text, int n)
{
    const QString value = QStringLiteral("v%1").arg(n);
    QStringList sections = SectionNames(text);
    sections.append(QStringLiteral("Fresh"));
    for (const QString& section : sections) {
        IniEditor editor(text);
        editor.WriteText(section, QStringLiteral("k"), value);
        Check(ReadIniValue(editor.Text(), section, QStringLiteral("k")) == value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int n = data[0] % 5;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const IniText ini = DecodeIni(bytes);
    if (IsValidUtf8(bytes))
        Check(EncodeIni(ini) == bytes);
    const QString& text = ini.text;

    ReadEverything(text, n);
    ExtractField(text, n);
    CheckInteger(text);

    Check(IniEditor(text).Text() == text);
    CheckWriteReadsBack(text, n);

    const DatabaseLists lists = RowsFrom(text, n);
    IniEditor editor(text);
    ReplaceListSections(editor, lists);
    Check(editor.Text() == RemoveThenAppend(text, lists));
    return 0;
}
