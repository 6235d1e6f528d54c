// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ResultStore.h"

#include "report/SaveLog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace report {
namespace {

const QRegularExpression& savedName()
{
    static const QRegularExpression name(QStringLiteral(R"(^(\d{8}T\d{6}Z)(?:-(\d+))?\.json$)"));
    return name;
}

// Makes every missing folder of `path` readable by its owner only.
bool makePath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists() || !makePath(info.absolutePath()))
        return false;
    return QDir().mkdir(path,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

QString ResultsDirectory(const QString& xdgDataHome, const QString& home)
{
    QString data = xdgDataHome;
    if (!QDir::isAbsolutePath(data)) {
        if (!QDir::isAbsolutePath(home))
            return {};
        data = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/quorvix/results"));
}

QString ResultsDirectory()
{
    return ResultsDirectory(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"));
}

QString ResultFileName(const QDateTime& time)
{
    return time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")) + QStringLiteral(".json");
}

QString SaveResult(const QString& directory, const QDateTime& time, const QByteArray& bytes)
{
    if (directory.isEmpty())
        throw SaveError("Cannot save the results: neither XDG_DATA_HOME nor HOME is an absolute "
                        "path");
    if (!makePath(directory))
        throw SaveError(QStringLiteral("Cannot create folder %1").arg(directory).toStdString());
    const QString name = ResultFileName(time);
    QString path = QDir(directory).filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(directory).filePath(name.chopped(5) + QStringLiteral("-%1.json").arg(n));
    // One atomic replacement, as every file the program writes.
    ReplaceFile(path, bytes);
    return path;
}

QStringList KeptResults(const QString& directory)
{
    struct Kept
    {
        QString stamp;
        int n;
        QString path;
    };
    QList<Kept> kept;
    const QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = savedName().match(name);
        if (match.hasMatch())
            kept.append({match.captured(1),
                         match.captured(2).isEmpty() ? 1 : match.captured(2).toInt(),
                         dir.filePath(name)});
    }
    std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.n < b.n;
    });
    QStringList paths;
    for (const Kept& k : kept)
        paths << k.path;
    return paths;
}

} // namespace report
