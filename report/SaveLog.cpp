#include "report/SaveLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace report {
namespace {

// A device or pipe (/dev/stdout, a terminal) is written in place: replacing
// it would put a regular file where the device node was.
bool writeInPlace(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
           file.write(bytes) == bytes.size() && file.flush();
}

bool replace(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    // An uncommitted QSaveFile removes its temporary file; the target stays.
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

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
    const QFileInfo target(fileName);
    const bool special = target.exists() && !target.isFile() && !target.isDir();
    if (!(special ? writeInPlace(fileName, bytes) : replace(fileName, bytes)))
        throw SaveError(QStringLiteral("Cannot create file %1").arg(fileName).toStdString());
}

void SaveLog(const QString& fileName, const QStringList& lines)
{
    ReplaceFile(fileName, LogFileBytes(lines));
}

} // namespace report
