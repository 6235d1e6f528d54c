// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <utility>

// Reading an INI text: only the first section of a name is looked at, and in
// it the first key of a name.
constexpr qsizetype kMaxValueCharacters = 2047;
constexpr qsizetype kKeyListBytes = 16384;

// The key's value, quotes removed, cut to kMaxValueCharacters characters
// (code points); nothing where the section or the key is missing.
std::optional<QString> ReadIniValue(QStringView text, QStringView section, QStringView key);

// The section's key names in file order, as many as fit kKeyListBytes when
// each is stored in UTF-8 followed by a zero byte and the list by one more.
// The listing stops at the first name that does not fit.
QStringList ListIniKeys(QStringView text, QStringView section);

// Every key of the section in file order, each with the value ReadIniValue
// gives for it, from one pass over the text. Unlike ListIniKeys it lists
// all keys, however long their names are together.
QList<std::pair<QString, QString>> ReadIniList(QStringView text, QStringView section);
