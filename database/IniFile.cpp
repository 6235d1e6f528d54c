// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/IniFile.h"

#include "database/DatabaseError.h"
#include "platform/AtomicFile.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Above this a file is no comparison database: reading it at every query
// would freeze the program.
constexpr std::uint64_t kLargestFile = 16 * 1024 * 1024;

QString TooLargeMessage(const QString& path)
{
    return QStringLiteral("Unable to read %1: the file is larger than 16 MB")
        .arg(QFileInfo(path).absoluteFilePath());
}

// The file's bytes, or nothing where it is missing, not a regular file (a
// FIFO or device would block or never end) or cannot be read. Raises the
// size error for a file above the limit.
std::optional<QByteArray> ReadRegularFile(const QString& path)
{
    const platform::FileContents contents =
        platform::ReadRegularFile(QFile::encodeName(path).toStdString(), kLargestFile);
    if (contents.outcome == platform::ReadOutcome::TooLarge)
        throw DatabaseError(TooLargeMessage(path));
    if (contents.outcome != platform::ReadOutcome::Read)
        return std::nullopt;
    return QByteArray::fromStdString(contents.bytes);
}

} // namespace

QString WriteErrorMessage(const QString& path)
{
    return QStringLiteral("Unable to write to %1").arg(QFileInfo(path).absoluteFilePath());
}

std::optional<IniText> LoadIniForReading(const QString& path)
{
    const auto bytes = ReadRegularFile(path);
    if (!bytes)
        return std::nullopt;
    return DecodeIni(*bytes);
}

IniText LoadIniForWriting(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    const auto bytes = ReadRegularFile(path);
    if (!bytes)
        throw DatabaseError(WriteErrorMessage(path));
    return DecodeIni(*bytes);
}

void SaveIni(const QString& path, const IniText& ini)
{
    const QByteArray bytes = EncodeIni(ini);
    if (!platform::ReplaceFileAtomically(QFile::encodeName(path).toStdString(),
                                         std::string_view(bytes.constData(), bytes.size())))
        throw DatabaseError(WriteErrorMessage(path));
}
