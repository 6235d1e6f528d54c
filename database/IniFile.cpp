#include "database/IniFile.h"

#include "database/DatabaseError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

std::optional<QByteArray> ReadRegularFile(const QString& path)
{
    // A device or a pipe in place of the file would block or never end.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw DatabaseError(WriteErrorMessage(path));
}
