// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The integer forms TextToInteger accepts; nothing for any other text.
std::optional<int> ParseInteger(QStringView text);

// The n-th field (from 0) of a list of fields separated by blanks, commas or
// semicolons.
QString ExtractField(const QString& value, int n);

// Strict integer conversion; throws DatabaseError
// "'<text>' is not a valid integer value".
int TextToInteger(const QString& text);
