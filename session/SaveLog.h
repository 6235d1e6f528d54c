// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>

namespace report {

// A log that cannot be saved; the message is what the user sees.
class SaveError : public std::runtime_error
{
public:
    explicit SaveError(const std::string& message) : std::runtime_error(message) {}
};

// The saved form of a log: UTF-8 without a byte-order mark, every line
// followed by CR LF, the last one too.
QByteArray LogFileBytes(const QStringList& lines);

// Writes `bytes` to `fileName` (its bytes as FileNameBytes gives them) in one
// replacement: the file holds either its old content or all of the new (a
// symbolic link is followed, and its target replaced). A device or pipe is
// written in place instead. Anything that
// fails (creating, writing, replacing) raises SaveError "Cannot create file
// <fileName>" and leaves an existing file as it was.
void ReplaceFile(const QString& fileName, const QByteArray& bytes);

// The log saved as ReplaceFile saves its LogFileBytes.
void SaveLog(const QString& fileName, const QStringList& lines);

} // namespace report
