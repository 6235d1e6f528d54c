// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/IniEncoding.h"

#include <QString>

#include <optional>

// Reading for a query: nothing where the file is missing, is not a regular
// file, or cannot be read; a query then sees an empty database. Reading never
// blocks. A file above 16 MB raises "Unable to read <full path>: the file is
// larger than 16 MB", here and before a change.
std::optional<IniText> LoadIniForReading(const QString& path);

// Reading before a change: an empty text where the file is missing; the write
// error where something is there that cannot be read, so that a change never
// replaces contents it could not see.
IniText LoadIniForWriting(const QString& path);

// Replaces the file in one step (platform::ReplaceFileAtomically), keeping
// its permissions. The old file stays whole when anything fails (a full
// disk, a quota, a file-size limit).
void SaveIni(const QString& path, const IniText& ini);

QString WriteErrorMessage(const QString& path);
