// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SaveLog.h"

#include "platform/AtomicFile.h"
#include "session/FileNames.h"

namespace report {

QByteArray LogFileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

void ReplaceFile(const QString& fileName, const QByteArray& bytes)
{
    const std::string path = FileNameBytes(fileName).toStdString();
    const std::string_view contents(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const bool saved = platform::IsSpecialFile(path)
                           ? platform::WriteInPlace(path, contents)
                           : platform::ReplaceFileAtomically(path, contents);
    if (!saved)
        throw SaveError("Cannot create file " + path); // the name's own bytes
}

void SaveLog(const QString& fileName, const QStringList& lines)
{
    ReplaceFile(fileName, LogFileBytes(lines));
}

} // namespace report
